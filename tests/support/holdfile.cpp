// kt63-holdfile PATH MODE: opens PATH through the file stream with the open mode MODE (a decimal
// number) and holds it, as another program would, until its standard input ends. Writes "held"
// or "refused" on a line of its own as soon as it knows, so that a test can go on from there.
#include "console.h"
#include "exception.h"
#include "tfilestream.h"

#include <iostream>
#include <memory>
#include <string>

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments = kt63::Utf8Arguments(argc, argv);
    if (arguments.size() != 3) {
        std::cerr << "usage: kt63-holdfile PATH MODE\n";
        return 2;
    }
    std::unique_ptr<kt63::TFileStream> held;
    try {
        const auto mode = static_cast<uint16_t>(std::stoi(arguments[2]));
        held = std::make_unique<kt63::TFileStream>(arguments[1], mode);
        std::cout << "held" << std::endl;
    } catch (const kt63::EFOpenError&) {
        std::cout << "refused" << std::endl;
    }
    std::string ignored;
    while (std::getline(std::cin, ignored)) {
    }
    return 0;
}
