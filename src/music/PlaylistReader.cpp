#include "music/PlaylistReader.h"

#include <algorithm>
#include <exception>

namespace velmor::music {

PlaylistReader::~PlaylistReader() {
    for (auto& [id, thread] : threads_) {
        thread.request_stop();
    }
    threads_.clear();  // joins; a result posted meanwhile goes with the receiver
}

void PlaylistReader::read(std::string path, Done done) {
    cancel();
    const std::uint64_t id = ++latest_;
    done_ = std::move(done);
    const auto work = [this, id, path = std::move(path), most = mostSongs_](std::stop_token stop) {
        std::optional<PlaylistRead> result = readPlaylist(path, most, stop);
        QMetaObject::invokeMethod(
            &receiver_,
            [this, id, result = std::move(result)]() mutable { finished(id, std::move(result)); },
            Qt::QueuedConnection);
    };
    try {
        threads_.reserve(threads_.size() + 1);
        threads_.emplace_back(id, std::jthread(work));
    } catch (const std::exception&) {
        // No thread or no memory to be had: the playlist counts as unreadable, told as a read
        // would be.
        QMetaObject::invokeMethod(
            &receiver_, [this, id] { finished(id, std::nullopt); }, Qt::QueuedConnection);
    }
}

void PlaylistReader::cancel() {
    done_ = nullptr;
    for (auto& [id, thread] : threads_) {
        thread.request_stop();
    }
}

void PlaylistReader::finished(std::uint64_t id, std::optional<PlaylistRead> result) {
    // The thread's last step was to post this: it ends at once.
    std::erase_if(threads_, [id](const auto& entry) { return entry.first == id; });
    if (id != latest_ || !done_) {
        return;
    }
    // Handed on by value: what it does may start the next read.
    Done done = std::move(done_);
    done_ = nullptr;
    done(std::move(result));
}

}  // namespace velmor::music
