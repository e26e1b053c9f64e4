#pragma once
// While one of these lives, every write and deletion of the registry layer first notes what it replaces:
// a value's type and bytes or that it was absent, a key it creates, a key it deletes with everything in
// it. A write that changes nothing and one that fails leave no note; failures are kept apart, each with
// the name of the setting or item being written (the subject) and the system's error.
#include "platform/unique_handle.h"
#include "registry/reg_file.h"
#include "registry/registry.h"

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace Registry {

struct FailedWrite {
    std::wstring subject; // empty when the writer named none
    std::wstring path;
    std::wstring name;
    LONG error = 0;
};

class WriteRecorder {
public:
    // Without notes only the failures are kept (putting a record back needs no record of its own).
    explicit WriteRecorder(bool notePrior = true);
    ~WriteRecorder();
    WriteRecorder(const WriteRecorder&) = delete;
    WriteRecorder& operator=(const WriteRecorder&) = delete;

    // The recorder the layer reports to, or null.
    static WriteRecorder* Active();

    // Names the setting or item the following writes belong to.
    void SetSubject(std::wstring subject) { subject_ = std::move(subject); }
    const std::wstring& Subject() const { return subject_; }

    bool Empty() const { return values_.empty() && created_.empty() && deleted_.empty(); }
    const std::vector<FailedWrite>& Failures() const { return failures_; }
    // Forgets values written over and back again, so they stand as they were before.
    void DropUnchanged();
    // What puts back every noted change, in an order the registry editor can import: keys deleted, latest
    // first, come back as they were; then the values; last, keys that were created go.
    std::vector<RegFile::Section> UndoSections() const;

    // --- For the registry layer.
    bool NotesPrior() const { return notePrior_; }
    // Whether the key already lies in a key noted as created or deleted, so its prior state is known.
    bool Covers(const std::wstring& keyPath) const;
    // Whether the value's prior state is noted already; if so it may now stand as it was before.
    bool NoteRewrite(const std::wstring& keyPath, const std::wstring& name);
    void NoteValue(const std::wstring& keyPath, const std::wstring& name, std::optional<Data> prior);
    void NoteCreated(const std::wstring& keyPath);
    // The key as it was, parents first; paths relative to it ("" for the key itself).
    struct KeyState {
        std::wstring relative;
        std::vector<std::pair<std::wstring, Data>> values;
    };
    void NoteDeleted(const std::wstring& keyPath, std::vector<KeyState> tree);
    void NoteFailure(const std::wstring& keyPath, const std::wstring& name, LONG error);
    // Apply comes back to the same few keys again and again; the keys written lately stay open for the next
    // write, which pays for reading what each write replaces. Any key deletion closes them all.
    // Reads keep their keys too, opened for reading only.
    HKEY OpenKey(const std::wstring& keyPath, bool forWriting) const;
    void KeepOpen(const std::wstring& keyPath, UniqueHKey key, bool forWriting);
    void CloseKeys(); // this recorder's and those it sits inside

private:
    struct PriorValue {
        std::wstring keyPath, name;
        std::optional<Data> prior;
        bool rewritten = false;
    };
    struct DeletedKey {
        std::wstring keyPath;
        std::vector<KeyState> tree;
    };

    WriteRecorder* outer_;
    bool notePrior_;
    std::wstring subject_;
    std::vector<PriorValue> values_;
    std::unordered_map<std::wstring, size_t> valueIndex_; // lower-case "key\nname"
    std::vector<std::wstring> created_;
    std::vector<DeletedKey> deleted_;
    std::vector<std::wstring> covered_; // the created and deleted keys, in lower case
    std::vector<FailedWrite> failures_;
    struct OpenKeyEntry {
        std::wstring path;
        UniqueHKey key;
        bool forWriting = false;
    };
    std::vector<OpenKeyEntry> open_;
    size_t nextOpen_ = 0;
};

// Names the subject for the writes made while it lives, then puts back the one before.
class WriteSubject {
public:
    explicit WriteSubject(std::wstring subject);
    ~WriteSubject();
    WriteSubject(const WriteSubject&) = delete;
    WriteSubject& operator=(const WriteSubject&) = delete;

private:
    std::wstring previous_;
};

} // namespace Registry
