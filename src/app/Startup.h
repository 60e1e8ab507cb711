#pragma once

#include <memory>

namespace vt {

struct AppContext;
class MDIForm1;

// Starts the program as it always has: the main frame initialises and loads (opening the catalogue),
// then the new-disk window loads and shows inside it, then the frame is shown.
// Returns null when the catalogue could not be opened; the user has been told why.
std::unique_ptr<MDIForm1> startUp(AppContext& context);

// The whole program: the desktop's platform services, start-up and the event loop. Returns the exit code.
int runApplication(int argc, char** argv);

}  // namespace vt
