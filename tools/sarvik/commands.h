// Registration of the command-line tool's subcommands with CLI11. Each subcommand's handler returns the
// process exit code (cli_common.h) through the shared result.
#pragma once

namespace CLI {
class App;
}

namespace cli {

// discover, info, get, set, control, snapshot, record, upload, download.
void addCameraCommands(CLI::App &app, int &result);
// batch --cameras LIST [--jobs N] COMMAND ...
void addBatchCommand(CLI::App &app, int &result);
// export INPUT --format csv|tiff16|tiff32|png|mp4 [--frames A:B] [--palette NAME] [--out DIR]
void addExportCommand(CLI::App &app, int &result);

}  // namespace cli
