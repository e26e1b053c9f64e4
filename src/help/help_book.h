#pragma once
// The program's help: numbered topics with titles, index keywords, paragraphs and links to other topics,
// read from the help text built into the program. Lookup by number, by title and by keyword, and the
// index search the help window offers. No window is touched here.
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Topic numbers the program names itself; the settings tree's own rows carry theirs.
namespace HelpTopics {
inline constexpr int Contents = 1;
inline constexpr int ShellTab = 2; // the tabs follow in tab order, "Shell" to "Pointer"
inline constexpr int OkButton = 10;
inline constexpr int CancelButton = 11;
inline constexpr int ApplyButton = 12;
inline constexpr int HelpButton = 13;
inline constexpr int ChangeButton = 14;
inline constexpr int DefaultIconButton = 15;
inline constexpr int RenameButton = 16;
inline constexpr int InformationBar = 17;
inline constexpr int MenusAndToolbar = 18;
inline constexpr int SettingsTree = 74;
// The topic of tab 1 ("Shell") to 8 ("Pointer").
constexpr int Tab(int tab) {
    return ShellTab + tab - 1;
}
} // namespace HelpTopics

// What a pop-up shows for a control or node without a topic.
inline constexpr std::wstring_view NoHelpText = L"No help for this item.";

// One run of a paragraph: plain words, or a link's words and the title of the topic it opens.
struct HelpRun {
    std::wstring text;
    std::wstring link; // empty for plain words
};

struct HelpParagraph {
    std::vector<HelpRun> runs;
    bool listItem = false;
};

// One topic of the help.
struct HelpPage {
    int number = 0;
    std::wstring title;
    std::vector<std::wstring> keywords;
    std::vector<HelpParagraph> paragraphs;

    // The words as plain text: paragraphs apart by a blank line, list items on lines of their own.
    std::wstring PlainText(std::wstring_view lineBreak = L"\n") const;
    // The titles the topic links to, first mention first, each once.
    std::vector<std::wstring> Links() const;
};

// One line of the index: a keyword or a title, and the topic it leads to.
struct HelpIndexEntry {
    std::wstring text;
    int topic = 0;
};

class HelpBook {
public:
    // Reads topics from lines of help text (see resources/help); what cannot be read is listed by Problems.
    explicit HelpBook(std::span<const std::string_view> lines);
    // The program's own help, read once.
    static const HelpBook& Program();

    const std::vector<HelpPage>& Topics() const { return topics_; }
    const HelpPage* ByNumber(int number) const;
    // Letter case does not count.
    const HelpPage* ByTitle(std::wstring_view title) const;
    // A partial key: the first index entry beginning with it, else the first holding it, letter case not
    // counting; null when none does or the key is blank.
    const HelpPage* ByKeyword(std::wstring_view key) const;
    // Every keyword and title in alphabetical order, letter case not counting.
    const std::vector<HelpIndexEntry>& Index() const { return index_; }
    // The index entries that hold the text, in index order; all of them for a blank text.
    std::vector<HelpIndexEntry> Search(std::wstring_view text) const;
    // Lines that could not be read, repeated numbers and links to missing titles, one text each.
    const std::vector<std::wstring>& Problems() const { return problems_; }

private:
    void Read(std::span<const std::string_view> lines);
    void BuildIndex();
    void CheckLinks();

    std::vector<HelpPage> topics_;
    std::vector<HelpIndexEntry> index_;
    std::vector<std::wstring> problems_;
};
