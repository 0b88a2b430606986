#pragma once
// The report of a box project as the information window shows it: a title and lines
// in two columns; "Room and Cabinet" starts the second column.

#include <string>
#include <vector>

class TBoxReport {
public:
    void Clear()
    {
        title_.clear();
        lines_.clear();
        secondColumn_ = -1;
    }
    void SetTitle(std::string title) { title_ = std::move(title); }
    void Add(std::string line) { lines_.push_back(std::move(line)); }
    void Add(const std::vector<std::string>& lines)
    {
        for (const auto& l : lines)
            lines_.push_back(l);
    }
    // The next line added starts the second column.
    void StartSecondColumn() { secondColumn_ = static_cast<int>(lines_.size()); }

    // The user note kept with the report (at most 599 characters).
    const std::string& Note() const { return note_; }
    void SetNote(std::string note)
    {
        if (note.size() > 599)
            note.resize(599);
        note_ = std::move(note);
    }

    const std::string& Title() const { return title_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    int SecondColumn() const { return secondColumn_; }

    // The report as one text, each line ended by "\r\n".
    std::string Text() const
    {
        std::string out;
        for (const auto& l : lines_)
            out += l + "\r\n";
        return out;
    }
    // For a terminal: the title, then the lines with plain line ends.
    std::string PlainText() const
    {
        std::string out = title_ + "\n";
        for (const auto& l : lines_)
            out += l + "\n";
        return out;
    }

private:
    std::string title_;
    std::string note_;
    std::vector<std::string> lines_;
    int secondColumn_ = -1;
};
