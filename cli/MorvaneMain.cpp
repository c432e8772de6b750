// The `morvane` tool: resizes a picture through the Morvane filter plug-in.
#include <iostream>
#include <string>
#include <vector>

#include "cli/OutputFile.h"
#include "cli/Tool.h"
#include "platform/Library.h"
#include "platform/Paths.h"

int main(int argc, char **argv) {
    RemoveTemporaryOnSignal();
    static const int anchor = 0;
    const std::string besideTool =
        platform::ExtractFileDir(platform::ModulePathOf(&anchor)) + "Morvane.auf";
    return RunTool(std::vector<std::string>(argv + 1, argv + argc), besideTool, std::cout,
                   std::cerr);
}
