#include "measdata/TMeasTextSource.h"

#include "core/TBinaryStream.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t kBufferSize = 65536;
}

TMeasTextSource::TMeasTextSource() : buffer_(new char[kBufferSize]) {}

TMeasTextSource::TMeasTextSource(std::string_view text) : text_(text), buffer_(new char[kBufferSize]) {}

TMeasTextSource::~TMeasTextSource()
{
    if (file_)
        std::fclose(file_);
}

bool TMeasTextSource::Open(const std::string& path)
{
    if (file_)
        std::fclose(file_);
    // Only regular files: a FIFO would block and a device could stream without end.
    file_ = OpenRegularFile(path);
    ResetState();
    return file_ != nullptr;
}

void TMeasTextSource::ResetState()
{
    textPos_ = 0;
    pos_ = len_ = 0;
    searched_ = false;
    atStart_ = true;
    pendingLf_ = false;
    bom_ = false;
    readError_ = false;
    crLf_ = cr_ = 0;
}

bool TMeasTextSource::Rewind()
{
    if (file_ && std::fseek(file_, 0, SEEK_SET) != 0)
        return false;
    if (file_)
        std::clearerr(file_);
    ResetState();
    return true;
}

bool TMeasTextSource::Fill()
{
    pos_ = len_ = 0;
    searched_ = false;
    if (file_) {
        len_ = std::fread(buffer_.get(), 1, kBufferSize, file_);
        if (len_ < kBufferSize && std::ferror(file_))
            readError_ = true;
    } else {
        len_ = std::min(kBufferSize, text_.size() - textPos_);
        std::memcpy(buffer_.get(), text_.data() + textPos_, len_);
        textPos_ += len_;
    }
    if (atStart_ && len_ > 0) {
        atStart_ = false;
        if (len_ >= 3 && std::memcmp(buffer_.get(), "\xEF\xBB\xBF", 3) == 0) {
            bom_ = true;
            pos_ = 3;
        }
    }
    return len_ > 0;
}

bool TMeasTextSource::NextLine(std::string_view& line, bool& tooLong)
{
    std::size_t length = 0;
    bool any = false;
    tooLong = false;
    for (;;) {
        if (pos_ >= len_ && !Fill()) {
            if (pendingLf_) {
                pendingLf_ = false;
                ++cr_;
            }
            break;
        }
        if (pos_ >= len_)
            continue; // a buffer that held only the byte order mark
        char* data = buffer_.get();
        if (pendingLf_) {
            pendingLf_ = false;
            if (data[pos_] == '\n') {
                ++pos_;
                ++crLf_;
                continue;
            }
            ++cr_;
        }
        // The next line end from here; the searches are kept so that a buffer full of
        // short lines is scanned once, not once per line.
        if (!searched_ || nextLf_ < pos_) {
            const void* p = std::memchr(data + pos_, '\n', len_ - pos_);
            nextLf_ = p ? static_cast<std::size_t>(static_cast<const char*>(p) - data) : len_;
        }
        if (!searched_ || nextCr_ < pos_) {
            const void* p = std::memchr(data + pos_, '\r', len_ - pos_);
            nextCr_ = p ? static_cast<std::size_t>(static_cast<const char*>(p) - data) : len_;
        }
        searched_ = true;
        const std::size_t stop = std::min(nextLf_, nextCr_);
        const std::size_t count = stop - pos_;
        any = true;
        if (!tooLong) {
            if (length + count <= kMaxLineLength) {
                std::memcpy(line_ + length, data + pos_, count);
                length += count;
            } else {
                tooLong = true;
            }
        }
        pos_ = stop;
        if (stop < len_) {
            ++pos_;
            if (data[stop] == '\r') {
                // CR LF or a lone CR; when the buffer ends here the next call decides.
                if (pos_ < len_) {
                    if (data[pos_] == '\n') {
                        ++pos_;
                        ++crLf_;
                    } else {
                        ++cr_;
                    }
                } else {
                    pendingLf_ = true;
                }
            }
            break;
        }
    }
    if (!any)
        return false;
    line = tooLong ? std::string_view() : std::string_view(line_, length);
    return true;
}

bool TMeasTextSource::AtEnd()
{
    if (pos_ < len_)
        return false;
    return !Fill();
}
