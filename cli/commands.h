#pragma once

#include "console.h"
#include "request.h"

// The three commands of quelvara-cli, run in the data folder: "publicar" does
// a year's work as the report editor would, kind by kind, "verificar" runs the
// checks before publishing, "exportar" copies what was published to a folder
// of its own. Each returns the program's exit status.
namespace quelvara::cli {

/// Enters the data folder, runs the command of the request there and returns the exit status.
int run(const Request &request, Console &console);

} // namespace quelvara::cli
