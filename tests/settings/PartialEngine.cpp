// An engine library that offers only a couple of functions, standing in for
// an engine too old or too stripped to have the ones the program calls.
extern "C" {
const char* sqlite3_libversion() { return "0.0.0-partial"; }
int sqlite3_libversion_number() { return 0; }
}
