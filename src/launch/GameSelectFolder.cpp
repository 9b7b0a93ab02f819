#include "launch/GameSelectFolder.h"

#include <fnmatch.h>
#include <QCollator>
#include <QCollatorSortKey>
#include <QFile>
#include <QLocale>
#include <algorithm>
#include <filesystem>
#include <numeric>
#include <system_error>

namespace velmor::launch {
namespace {

std::vector<std::string> patterns(std::string_view filter) {
    std::vector<std::string> result;
    while (!filter.empty()) {
        const auto end = std::min(filter.find(';'), filter.size());
        if (end > 0) {
            result.emplace_back(filter.substr(0, end));
        }
        filter.remove_prefix(std::min(end + 1, filter.size()));
    }
    return result;
}

// The system's wildcard matching on the name's own bytes, so that a name that is not valid
// UTF-8 is matched by its extension like any other.
bool matchesAny(const std::vector<std::string>& patterns, const char* name) {
    return std::ranges::any_of(patterns, [name](const std::string& pattern) {
        return fnmatch(pattern.c_str(), name, FNM_CASEFOLD) == 0;
    });
}

// A collator for the order a person expects. The plain C locale (a program started from a
// script or a service often has no other) would compare code points only, so it stands in the
// language-neutral order there.
QCollator personalOrder() {
    QLocale locale;
    if (locale.language() == QLocale::C) {
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    }
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    return collator;
}

}  // namespace

GameFolder readGameFolder(const std::string& folder, std::string_view filter,
                          const std::function<bool()>& stopped) {
    namespace fs = std::filesystem;
    GameFolder result;
    const std::vector<std::string> wanted = patterns(filter);
    std::error_code error;
    fs::directory_iterator entry(fs::path(folder), error);
    for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
        if (stopped && stopped()) {
            return {};
        }
        std::string name = entry->path().filename().native();
        // The name first: it costs nothing, while a link's kind needs a look at its target.
        std::error_code kindError;
        if (matchesAny(wanted, name.c_str()) && entry->is_regular_file(kindError)) {
            result.names.push_back(std::move(name));
        }
    }

    const QCollator collator = personalOrder();
    std::vector<QString> shown;
    std::vector<QCollatorSortKey> keys;
    shown.reserve(result.names.size());
    keys.reserve(result.names.size());
    for (const std::string& name : result.names) {
        shown.push_back(QFile::decodeName(
            QByteArray::fromRawData(name.data(), static_cast<qsizetype>(name.size()))));
        keys.push_back(collator.sortKey(shown.back()));
    }
    std::vector<std::size_t> order(result.names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Names the person's order holds equal ("a.smc", "A.SMC") keep one fixed order by their
    // bytes, so the list does not change between openings.
    std::ranges::sort(order, [&](std::size_t a, std::size_t b) {
        const int compared = keys[a].compare(keys[b]);
        return compared != 0 ? compared < 0 : result.names[a] < result.names[b];
    });

    GameFolder sorted;
    sorted.names.reserve(order.size());
    sorted.shown.reserve(static_cast<qsizetype>(order.size()));
    for (const std::size_t index : order) {
        sorted.names.push_back(std::move(result.names[index]));
        sorted.shown.push_back(std::move(shown[index]));
    }
    return sorted;
}

}  // namespace velmor::launch
