#pragma once
// Reads a measurement text file line by line with fixed memory: a read buffer and one
// line buffer, whatever the file holds. Lines end in LF, CR LF or a lone CR; a UTF-8
// byte order mark at the start is dropped; a line longer than kMaxLineLength is
// passed over as a whole and reported as too long.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class TMeasTextSource {
public:
    static constexpr std::size_t kMaxLineLength = 1024;

    TMeasTextSource(const TMeasTextSource&) = delete;
    TMeasTextSource& operator=(const TMeasTextSource&) = delete;
    ~TMeasTextSource();

    // False when the file cannot be opened.
    [[nodiscard]] bool Open(const std::string& path);
    // Text held by the caller for the lifetime of the source.
    explicit TMeasTextSource(std::string_view text);
    TMeasTextSource();

    // The next line without its line end; false at the end of the input. A line
    // longer than kMaxLineLength comes back empty with tooLong set.
    [[nodiscard]] bool NextLine(std::string_view& line, bool& tooLong);
    // Back to the first line; false when the file cannot be repositioned.
    [[nodiscard]] bool Rewind();

    // True when no byte is left (may read ahead into the buffer).
    [[nodiscard]] bool AtEnd();

    bool HadByteOrderMark() const { return bom_; }
    long CrLfLines() const { return crLf_; }
    long CrLines() const { return cr_; }
    bool ReadError() const { return readError_; }

private:
    bool Fill();
    void ResetState();

    std::FILE* file_ = nullptr;
    std::string_view text_;
    std::size_t textPos_ = 0;
    std::unique_ptr<char[]> buffer_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    // Positions of the next LF and CR in the buffer (len_ when there is none).
    std::size_t nextLf_ = 0;
    std::size_t nextCr_ = 0;
    bool searched_ = false;
    bool atStart_ = true;
    bool pendingLf_ = false;
    bool bom_ = false;
    bool readError_ = false;
    long crLf_ = 0;
    long cr_ = 0;
    char line_[kMaxLineLength];
};
