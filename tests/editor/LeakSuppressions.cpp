// Fontconfig keeps a cache for the life of the process that the leak checker cannot see freed.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
