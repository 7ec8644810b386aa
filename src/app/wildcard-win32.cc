// The MinGW-w64 start-up code expands wildcards in the arguments when the
// program defines _dowildcard non-zero (or the runtime was configured to
// default to it): favlink takes '*' and '?' as they were typed. Defining the
// variable here also keeps the runtime's own default out of the link.
extern "C" {
int _dowildcard = 0;
}
