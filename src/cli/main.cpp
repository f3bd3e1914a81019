#include "cli/order_tool.h"
#include "files/platform.h"

int main(int argc, char* argv[])
{
    // A file-size limit fails the write, which is said; it does not kill us.
    files::platform::ignoreFileSizeSignal();
    return cli::run(argc, argv);
}
