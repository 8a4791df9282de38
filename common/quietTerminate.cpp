// The delivered programs' answer to an uncaught exception: end at once.
//
// The C++ runtime's default handler prints the exception's demangled type to
// the standard error stream, which a GUI program does not have; its demangler
// and the formatted output it uses would be some 70 KiB of every program.
// Linked as an object, this definition takes the place of the runtime's.
#include <cstdlib>

namespace __gnu_cxx {

// The runtime's own hook, a reserved name as it must be.
void __verbose_terminate_handler() { std::abort(); }  // NOLINT(bugprone-reserved-identifier)

}  // namespace __gnu_cxx
