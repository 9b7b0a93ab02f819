#include "music/PlaylistParser.h"

#include <algorithm>
#include <new>

namespace velmor::music {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kNone = std::string::npos;

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

bool isSeparator(char c) {
    return c == ',' || isLineEnd(c);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

template <typename Predicate>
std::size_t findFirst(std::string_view bytes, Predicate matches) {
    const auto found = std::find_if(bytes.begin(), bytes.end(), matches);
    return static_cast<std::size_t>(found - bytes.begin());
}

}  // namespace

PlaylistParser::PlaylistParser(std::size_t most, std::size_t sizeHint) : most_(most) {
    try {
        bytes_.reserve(sizeHint);  // the entries never take more bytes than the file
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
    // The room made for the whole file is mostly unused when the list was cut short.
    if (bytes_.capacity() - bytes_.size() > bytes_.size() / 4) {
        bytes_.shrink_to_fit();
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
                const std::size_t end = findFirst(piece, isSeparator);
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
                    const std::size_t lineEnd = findFirst(inside, isLineEnd);
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
                const std::size_t end = findFirst(piece, isSeparator);
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
        const std::size_t end =
            read + findFirst(std::string_view(bytes_).substr(read), isSeparator);
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
