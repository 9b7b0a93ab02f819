#pragma once

#include <QProcessEnvironment>
#include <string_view>

namespace velmor::test {

// The number of windows on the X server titled exactly `title`, as xdotool finds them.
int windowsTitled(std::string_view title);

// The environment of a Velmor run for a test: its store `store`, its private folders in `runtime`,
// its own window off screen (a player's window stays on X), no session bus.
QProcessEnvironment velmorEnvironment(const QString& store, const QString& runtime);

// Runs `program` once in `environment` and ends it as a signal would, so that its store is made
// with every default; false when it did not start or end.
bool firstRun(const char* program, const QProcessEnvironment& environment);

}  // namespace velmor::test
