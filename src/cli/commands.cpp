#include "cli/cli.h"

namespace zm::cli {

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"settings", "list | get SECTION KEY | set SECTION KEY VALUE", "read and write the settings store",
         cmdSettings},
    };
    return table;
}

}  // namespace zm::cli
