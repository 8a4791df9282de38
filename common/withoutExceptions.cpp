// The delivered programs are built without exceptions: none of their code
// throws or catches. The C++ library still reports a failed allocation or a
// broken container precondition by throwing, and its throwing versions would
// link the exception runtime (unwinder, exception classes and their strings)
// into every program. These definitions take their place: such a report ends
// the program at once, as the uncaught exception did before. Where a failed
// allocation must become a status, the caller checks the size first or
// allocates without throwing. Should the link report one of them defined
// twice, a program has begun to use a library function that throws another
// way: define that one here as well.
#include <cstdlib>
#include <new>

// The names are the C++ library's own hooks, reserved as they must be.
// NOLINTBEGIN(bugprone-reserved-identifier)
namespace std {

void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_bad_function_call() { abort(); }
void __throw_length_error(const char *) { abort(); }
void __throw_logic_error(const char *) { abort(); }
void __throw_out_of_range_fmt(const char *, ...) { abort(); }

}  // namespace std
// NOLINTEND(bugprone-reserved-identifier)

// The library's operator delete frees with std::free, which matches.
void *operator new(std::size_t size) {  // NOLINT(misc-new-delete-overloads)
  if (void *block = std::malloc(size == 0 ? 1 : size)) return block;
  std::abort();
}
