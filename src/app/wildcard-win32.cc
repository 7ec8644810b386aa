// The MinGW-w64 start-up code expands wildcards in the arguments unless the
// program says otherwise: favlink takes '*' and '?' as they were typed.
extern "C" int _dowildcard = 0;
