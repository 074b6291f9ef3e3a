// Qt is not built with the thread sanitizer, so its own synchronisation (and
// the thread pool its painting uses) is invisible to it: in a sanitizer build
// of the GUI tests only the accesses of our instrumented code are checked.
extern "C" const char* __tsan_default_options() { return "ignore_noninstrumented_modules=1"; }
