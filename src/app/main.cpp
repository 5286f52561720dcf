#include <cstdio>
#include <cstring>

#include "app/application.h"
#include "version.h"

int main(int argc, char** argv) {
    // Answered before Qt starts, so that it needs no display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("quorvex %s\n", QV_VERSION);
        return 0;
    }
    return qv::app::runApplication(argc, argv);
}
