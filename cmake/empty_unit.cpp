// Gives a library of a subsystem that has no sources yet something to be made of.
namespace quorvex { inline void libraryHasNoSourcesYet() {} }
