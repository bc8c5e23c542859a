// Replacements for three parts of the static C++ runtime that would make up a third of the
// executable for nothing this program shows:
// - the verbose terminate handler prints the escaping exception's demangled type to a console
//   this program does not have, and links the whole demangler;
// - the library's throw helpers build std::length_error and its kin, whose reference-counted
//   message strings link a second implementation of std::string (and std::random_device).
// The helpers below throw the same messages as plain std::exception objects, which is all the
// top-level error handler reads. Should the code ever need a helper not defined here, the
// library's own file is linked again and the link fails on the duplicates, so none is lost.
#include <bits/functexcept.h>

#include <cstdlib>
#include <exception>
#include <new>

namespace {

class LibraryError : public std::exception {
  public:
    explicit LibraryError(const char* text) : text_(text) {}
    const char* what() const noexcept override { return text_; }

  private:
    const char* text_;  // the library passes string literals
};

}  // namespace

namespace __gnu_cxx {

// Every window procedure and dialog catches at its boundary, so terminate means a fault on a
// worker thread: end the process as std::abort does.
void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx

namespace std {

void __throw_bad_alloc() {
    throw bad_alloc();
}
void __throw_bad_array_new_length() {
    throw bad_array_new_length();
}
void __throw_length_error(const char* text) {
    throw LibraryError(text);
}
void __throw_logic_error(const char* text) {
    throw LibraryError(text);
}
// The format's arguments are dropped: the text names the failed check, which is enough.
void __throw_out_of_range_fmt(const char* format, ...) {
    throw LibraryError(format);
}

}  // namespace std
