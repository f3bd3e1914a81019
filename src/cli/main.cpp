#include "cli/order_tool.h"

int main(int argc, char* argv[])
{
    return cli::run(argc, argv);
}
