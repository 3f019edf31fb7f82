// Two pieces of the GNU C++ runtime, replaced so that the statically linked
// runtime stays small. The linker takes an archive's member only for a symbol
// that nothing else defines, and it cannot drop the unused functions of a
// member it has taken: each of the runtime's own versions brings some 45 KB.
//
// - The handler that ends the process when an exception is caught nowhere.
//   Every export and window procedure catches at its boundary, so that is a
//   fault of ours and all that is left is to stop. The runtime's own first
//   prints the exception's demangled type to standard error, which no viewer
//   shows, and brings a demangler and a printf for it.
// - The helpers through which the standard library reports a misuse (a length
//   beyond its limit, a position past the end). The runtime's own throw
//   std::length_error and the like, whose copy-on-write message strings bring
//   a whole second string implementation. These throw an exception with the
//   same text, caught by the same boundaries; no code here catches those
//   types by name.
#include <cstdlib>
#include <exception>
#include <new>
#include <string>

#if defined(__GLIBCXX__)
namespace {

class LibraryMisuse : public std::exception {
  public:
    explicit LibraryMisuse(const char* what) : what_(what) {}
    const char* what() const noexcept override { return what_; }

  private:
    const char* what_;
};

}  // namespace

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

namespace std {
void __throw_length_error(const char* what) {
    throw LibraryMisuse(what);
}
void __throw_logic_error(const char* what) {
    throw LibraryMisuse(what);
}
void __throw_out_of_range(const char* what) {
    throw LibraryMisuse(what);
}
void __throw_out_of_range_fmt(const char* format, ...) {
    throw LibraryMisuse(format);
}
void __throw_invalid_argument(const char* what) {
    throw LibraryMisuse(what);
}
void __throw_bad_alloc() {
    throw std::bad_alloc();
}
void __throw_bad_array_new_length() {
    throw std::bad_array_new_length();
}
}  // namespace std
#endif
