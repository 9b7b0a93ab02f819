#include "music/PlaylistParser.h"

#include <algorithm>
#include <new>

namespace velmor::music {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kNone = std::string::npos;

bool isSeparator(char c) {
    return c == ',' || c == '\r' || c == '\n';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Where the first comma or line end stands in `bytes`, or the size when none does.
std::size_t findSeparator(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size() && !isSeparator(bytes[at])) {
        ++at;
    }
    return at;
}

// Where the first line end stands in a quoted entry, or the size when none does. Most entries
// hold none, so two searches of many bytes at a time (memchr) beat one of a byte at a time.
std::size_t findLineEnd(std::string_view entry) {
    return std::min({entry.find('\r'), entry.find('\n'), entry.size()});
}

}  // namespace

PlaylistParser::PlaylistParser(std::size_t most, std::size_t sizeHint) : most_(most) {
    try {
        // The entries never take more bytes than the file, and each takes two bytes of it at
        // least. Room made once is given back whole; growing in steps would leave the steps.
        bytes_.reserve(sizeHint);
        ends_.reserve(std::min(most, sizeHint / 2 + 1));
    } catch (const std::bad_alloc&) {
        // Not at once, then: the list grows as it is read.
    }
}

bool PlaylistParser::feed(std::string_view piece) {
    if (!started_) {
        const std::size_t take = std::min(piece.size(), kByteOrderMark.size() - head_.size());
        head_.append(piece.substr(0, take));
        piece.remove_prefix(take);
        if (head_.size() < kByteOrderMark.size() && kByteOrderMark.starts_with(head_)) {
            return true;  // too few bytes yet to tell
        }
        started_ = true;
        if (head_ != kByteOrderMark) {
            consume(head_);
        }
    }
    consume(piece);
    return !cut_;
}

PlaylistRead PlaylistParser::finish() && {
    if (!started_) {
        started_ = true;
        consume(head_);
    }
    if (state_ == State::Plain) {
        endPlain();
    } else if (state_ == State::Quoted) {
        endUnclosedQuote();
    }
    // The room made for the whole file is mostly unused when the list was cut short, or its
    // entries are long.
    if (bytes_.capacity() - bytes_.size() > bytes_.size() / 4) {
        bytes_.shrink_to_fit();
    }
    if (ends_.capacity() - ends_.size() > ends_.size() / 4) {
        ends_.shrink_to_fit();
    }
    return {PathList(std::move(bytes_), std::move(ends_)), cut_};
}

void PlaylistParser::consume(std::string_view piece) {
    while (!piece.empty() && !cut_) {
        switch (state_) {
            case State::Between: {
                const char first = piece.front();
                if (isBlank(first) || isSeparator(first)) {
                    // Blanks before a field, or the end of one that names nothing.
                    piece.remove_prefix(1);
                    break;
                }
                if (ends_.size() == most_) {
                    cut_ = true;
                    break;
                }
                fieldStart_ = bytes_.size();
                if (first == '"') {
                    piece.remove_prefix(1);
                    firstLineEnd_ = kNone;
                    state_ = State::Quoted;
                } else {
                    state_ = State::Plain;
                }
                break;
            }
            case State::Plain: {
                const std::size_t end = findSeparator(piece);
                bytes_.append(piece.substr(0, end));
                piece.remove_prefix(end);
                if (!piece.empty()) {
                    endPlain();  // the separator itself is passed over as a field's end
                }
                break;
            }
            case State::Quoted: {
                const std::size_t close = std::min(piece.find('"'), piece.size());
                const std::string_view inside = piece.substr(0, close);
                if (firstLineEnd_ == kNone) {
                    const std::size_t lineEnd = findLineEnd(inside);
                    if (lineEnd < inside.size()) {
                        firstLineEnd_ = bytes_.size() + lineEnd;
                    }
                }
                bytes_.append(inside);
                piece.remove_prefix(close);
                if (!piece.empty()) {
                    piece.remove_prefix(1);
                    ends_.push_back(bytes_.size());
                    state_ = State::AfterQuote;
                }
                break;
            }
            case State::AfterQuote: {
                const std::size_t end = findSeparator(piece);
                piece.remove_prefix(end);
                if (!piece.empty()) {
                    state_ = State::Between;
                }
                break;
            }
        }
    }
}

void PlaylistParser::endPlain() {
    std::size_t last = bytes_.size();
    while (last > fieldStart_ && isBlank(bytes_[last - 1])) {
        --last;
    }
    bytes_.resize(last);
    ends_.push_back(last);
    state_ = State::Between;
}

// A quote never closed holds the rest of its line. What follows that line holds no quote, so it
// is read again as plain fields; in place, as each field moves only towards the front.
void PlaylistParser::endUnclosedQuote() {
    const std::size_t size = bytes_.size();
    std::size_t write = firstLineEnd_ == kNone ? size : firstLineEnd_;
    ends_.push_back(write);
    std::size_t read = write;
    while (read < size) {
        if (isBlank(bytes_[read]) || isSeparator(bytes_[read])) {
            ++read;
            continue;
        }
        if (ends_.size() == most_) {
            cut_ = true;
            break;
        }
        const std::size_t end = read + findSeparator(std::string_view(bytes_).substr(read));
        std::size_t last = end;
        while (last > read && isBlank(bytes_[last - 1])) {
            --last;
        }
        std::copy(bytes_.begin() + static_cast<std::ptrdiff_t>(read),
                  bytes_.begin() + static_cast<std::ptrdiff_t>(last),
                  bytes_.begin() + static_cast<std::ptrdiff_t>(write));
        write += last - read;
        ends_.push_back(write);
        read = end;
    }
    bytes_.resize(write);
    state_ = State::Between;
}

}  // namespace velmor::music
