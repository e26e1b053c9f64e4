#include "help/help_book.h"

#include "platform/text.h"

#include <windows.h>

#include <algorithm>

std::span<const std::string_view> HelpTopicLines(); // written by help_embed from resources/help

namespace {

bool ContainsNoCase(std::wstring_view s, std::wstring_view part) {
    if (part.size() > s.size()) return false;
    for (size_t i = 0; i + part.size() <= s.size(); ++i)
        if (text::EqualsNoCase(s.substr(i, part.size()), part)) return true;
    return false;
}

bool LessNoCase(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_LESS_THAN;
}

// "[[Title]]" and "[[shown words|Title]]" become link runs; everything else stays plain.
std::vector<HelpRun> SplitRuns(const std::wstring& paragraph, std::vector<std::wstring>& problems) {
    std::vector<HelpRun> runs;
    size_t at = 0;
    while (at < paragraph.size()) {
        const size_t open = paragraph.find(L"[[", at);
        const size_t close = open == std::wstring::npos ? open : paragraph.find(L"]]", open + 2);
        if (close == std::wstring::npos) {
            if (open != std::wstring::npos) problems.push_back(L"unclosed link: " + paragraph.substr(open));
            runs.push_back({paragraph.substr(at), {}});
            break;
        }
        if (open > at) runs.push_back({paragraph.substr(at, open - at), {}});
        const std::wstring inside = paragraph.substr(open + 2, close - open - 2);
        const size_t bar = inside.find(L'|');
        if (bar == std::wstring::npos)
            runs.push_back({inside, inside});
        else
            runs.push_back({inside.substr(0, bar), inside.substr(bar + 1)});
        at = close + 2;
    }
    return runs;
}

} // namespace

std::wstring HelpPage::PlainText(std::wstring_view lineBreak) const {
    std::wstring out;
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        const HelpParagraph& p = paragraphs[i];
        if (i > 0) {
            out += lineBreak;
            if (!(p.listItem && paragraphs[i - 1].listItem)) out += lineBreak;
        }
        if (p.listItem) out += L"\u2022 ";
        for (const HelpRun& run : p.runs) out += run.text;
    }
    return out;
}

std::vector<std::wstring> HelpPage::Links() const {
    std::vector<std::wstring> links;
    for (const HelpParagraph& p : paragraphs)
        for (const HelpRun& run : p.runs)
            if (!run.link.empty() && std::none_of(links.begin(), links.end(), [&](const std::wstring& l) {
                    return text::EqualsNoCase(l, run.link);
                }))
                links.push_back(run.link);
    return links;
}

HelpBook::HelpBook(std::span<const std::string_view> lines) {
    Read(lines);
    BuildIndex();
    CheckLinks();
}

const HelpBook& HelpBook::Program() {
    static const HelpBook book(HelpTopicLines());
    return book;
}

void HelpBook::Read(std::span<const std::string_view> lines) {
    HelpPage* topic = nullptr;
    std::wstring paragraph;
    bool listItem = false;
    auto endParagraph = [&] {
        if (topic && !paragraph.empty())
            topic->paragraphs.push_back({SplitRuns(paragraph, problems_), listItem});
        paragraph.clear();
        listItem = false;
    };
    for (std::string_view raw : lines) {
        const std::wstring line = text::TrimSpaces(text::Widen(raw));
        if (line.starts_with(L"#")) continue;
        if (line.starts_with(L"@topic ")) {
            endParagraph();
            const std::wstring rest = text::TrimSpaces(std::wstring_view(line).substr(7));
            const size_t space = rest.find(L' ');
            const auto number = text::ParseInt32(rest.substr(0, space));
            const std::wstring title =
                space == std::wstring::npos ? L"" : text::TrimSpaces(rest.substr(space));
            if (!number || *number <= 0 || title.empty()) {
                problems_.push_back(L"bad topic line: " + line);
                topic = nullptr;
                continue;
            }
            if (ByNumber(*number)) problems_.push_back(L"topic " + std::to_wstring(*number) + L" twice");
            topic = &topics_.emplace_back(HelpPage{*number, title, {}, {}});
            continue;
        }
        if (!topic) {
            if (!line.empty()) problems_.push_back(L"outside a topic: " + line);
            continue;
        }
        if (line.starts_with(L"@keywords ")) {
            std::wstring_view rest = std::wstring_view(line).substr(10);
            while (!rest.empty()) {
                const size_t semicolon = std::min(rest.find(L';'), rest.size());
                if (std::wstring keyword = text::TrimSpaces(rest.substr(0, semicolon)); !keyword.empty())
                    topic->keywords.push_back(keyword);
                rest.remove_prefix(std::min(semicolon + 1, rest.size()));
            }
        } else if (line.empty()) {
            endParagraph();
        } else if (line.starts_with(L"- ")) {
            endParagraph();
            paragraph = line.substr(2);
            listItem = true;
        } else {
            paragraph += (paragraph.empty() ? L"" : L" ") + line;
        }
    }
    endParagraph();
}

void HelpBook::BuildIndex() {
    for (const HelpPage& topic : topics_) {
        index_.push_back({topic.title, topic.number});
        for (const std::wstring& keyword : topic.keywords)
            if (!text::EqualsNoCase(keyword, topic.title)) index_.push_back({keyword, topic.number});
    }
    std::stable_sort(index_.begin(), index_.end(), [](const HelpIndexEntry& a, const HelpIndexEntry& b) {
        return LessNoCase(a.text, b.text);
    });
}

void HelpBook::CheckLinks() {
    for (const HelpPage& topic : topics_)
        for (const std::wstring& link : topic.Links())
            if (!ByTitle(link) && !ByKeyword(link))
                problems_.push_back(L"topic " + std::to_wstring(topic.number) + L" links to missing " + link);
}

const HelpPage* HelpBook::ByNumber(int number) const {
    auto it =
        std::find_if(topics_.begin(), topics_.end(), [&](const HelpPage& t) { return t.number == number; });
    return it == topics_.end() ? nullptr : &*it;
}

const HelpPage* HelpBook::ByTitle(std::wstring_view title) const {
    auto it = std::find_if(topics_.begin(), topics_.end(),
                           [&](const HelpPage& t) { return text::EqualsNoCase(t.title, title); });
    return it == topics_.end() ? nullptr : &*it;
}

const HelpPage* HelpBook::ByKeyword(std::wstring_view key) const {
    const std::wstring trimmed = text::TrimSpaces(key);
    if (trimmed.empty()) return nullptr;
    // The index is sorted, so the first entry beginning with the key is the one equal to it, if any.
    for (auto matches : {text::StartsWithNoCase, ContainsNoCase}) {
        auto it = std::find_if(index_.begin(), index_.end(),
                               [&](const HelpIndexEntry& e) { return matches(e.text, trimmed); });
        if (it != index_.end()) return ByNumber(it->topic);
    }
    return nullptr;
}

std::vector<HelpIndexEntry> HelpBook::Search(std::wstring_view text) const {
    const std::wstring trimmed = text::TrimSpaces(text);
    std::vector<HelpIndexEntry> found;
    std::copy_if(index_.begin(), index_.end(), std::back_inserter(found),
                 [&](const HelpIndexEntry& e) { return ContainsNoCase(e.text, trimmed); });
    return found;
}
