#include "app/Startup.h"

int main(int argc, char** argv) {
    return vt::runApplication(argc, argv);
}
