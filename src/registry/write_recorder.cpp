#include "registry/write_recorder.h"

#include "platform/text.h"

namespace Registry {
namespace {

WriteRecorder* active = nullptr;

using text::Lower;

bool SameOrBelow(const std::wstring& lowerPath, const std::wstring& lowerKey) {
    return lowerPath == lowerKey || (lowerPath.starts_with(lowerKey) && lowerPath[lowerKey.size()] == L'\\');
}

} // namespace

WriteRecorder::WriteRecorder(bool notePrior) : outer_(active), notePrior_(notePrior) {
    active = this;
}

WriteRecorder::~WriteRecorder() {
    active = outer_;
}

WriteRecorder* WriteRecorder::Active() {
    return active;
}

bool WriteRecorder::Covers(const std::wstring& keyPath) const {
    if (covered_.empty()) return false;
    const std::wstring lower = Lower(keyPath);
    for (const std::wstring& key : covered_)
        if (SameOrBelow(lower, key)) return true;
    return false;
}

bool WriteRecorder::NoteRewrite(const std::wstring& keyPath, const std::wstring& name) {
    auto at = valueIndex_.find(Lower(keyPath + L"\n" + name));
    if (at == valueIndex_.end()) return false;
    values_[at->second].rewritten = true;
    return true;
}

void WriteRecorder::NoteValue(const std::wstring& keyPath, const std::wstring& name,
                              std::optional<Data> prior) {
    if (!valueIndex_.emplace(Lower(keyPath + L"\n" + name), values_.size()).second) return;
    values_.push_back({keyPath, name, std::move(prior)});
}

void WriteRecorder::NoteCreated(const std::wstring& keyPath) {
    created_.push_back(keyPath);
    covered_.push_back(Lower(keyPath));
}

void WriteRecorder::NoteDeleted(const std::wstring& keyPath, std::vector<KeyState> tree) {
    deleted_.push_back({keyPath, std::move(tree)});
    covered_.push_back(Lower(keyPath));
}

HKEY WriteRecorder::OpenKey(const std::wstring& keyPath, bool forWriting) const {
    // The keys of the recorders this one sits inside stay open at least as long as its own.
    for (const WriteRecorder* recorder = this; recorder; recorder = recorder->outer_)
        for (const OpenKeyEntry& open : recorder->open_)
            if (open.path == keyPath && (open.forWriting || !forWriting)) return open.key.get();
    return nullptr;
}

void WriteRecorder::KeepOpen(const std::wstring& keyPath, UniqueHKey key, bool forWriting) {
    constexpr size_t Kept = 16;
    for (OpenKeyEntry& open : open_)
        if (open.path == keyPath) { // a key kept for reading, now opened for writing too
            open.key = std::move(key);
            open.forWriting = forWriting;
            return;
        }
    if (open_.size() < Kept) {
        open_.push_back({keyPath, std::move(key), forWriting});
        return;
    }
    open_[nextOpen_] = {keyPath, std::move(key), forWriting};
    nextOpen_ = (nextOpen_ + 1) % Kept;
}

void WriteRecorder::CloseKeys() {
    for (WriteRecorder* recorder = this; recorder; recorder = recorder->outer_) recorder->open_.clear();
}

void WriteRecorder::NoteFailure(const std::wstring& keyPath, const std::wstring& name, LONG error) {
    failures_.push_back({subject_, keyPath, name, error});
}

void WriteRecorder::DropUnchanged() {
    if (!std::erase_if(values_, [](const PriorValue& v) {
            return v.rewritten && ReadValue(v.keyPath, v.name) == v.prior;
        }))
        return;
    valueIndex_.clear();
    for (size_t i = 0; i < values_.size(); ++i)
        valueIndex_.emplace(Lower(values_[i].keyPath + L"\n" + values_[i].name), i);
}

std::vector<RegFile::Section> WriteRecorder::UndoSections() const {
    std::vector<RegFile::Section> out;
    // A key deleted later held what the earlier deletions left, so the latest comes back first.
    for (auto key = deleted_.rbegin(); key != deleted_.rend(); ++key) {
        out.push_back({key->keyPath, true, {}});
        for (const KeyState& state : key->tree) {
            RegFile::Section section{
                key->keyPath + (state.relative.empty() ? L"" : L"\\" + state.relative), false, {}};
            for (const auto& [name, data] : state.values) section.values.push_back({name, data});
            out.push_back(std::move(section));
        }
    }
    std::map<std::wstring, size_t> sectionOf;
    for (const PriorValue& v : values_) {
        auto [at, added] = sectionOf.emplace(Lower(v.keyPath), out.size());
        if (added) out.push_back({v.keyPath, false, {}});
        out[at->second].values.push_back({v.name, v.prior});
    }
    for (const std::wstring& key : created_) out.push_back({key, true, {}});
    return out;
}

WriteSubject::WriteSubject(std::wstring subject) {
    if (WriteRecorder* recorder = WriteRecorder::Active()) {
        previous_ = recorder->Subject();
        recorder->SetSubject(std::move(subject));
    }
}

WriteSubject::~WriteSubject() {
    if (WriteRecorder* recorder = WriteRecorder::Active()) recorder->SetSubject(std::move(previous_));
}

} // namespace Registry
