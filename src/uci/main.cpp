#include "uci/cpu_check.h"
#include "uci/uci.h"

// Built for any x86-64 processor, like the check: nothing may run before it
// that needs the instructions it looks for.
int main(int argc, char** argv) {
    if (refuse_unsupported_cpu()) return 1;
    return engine_main(argc, argv);
}
