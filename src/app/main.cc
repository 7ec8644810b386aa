#include <new>

#include "app/favlink.h"
#include "diag/errmsg.h"

// Memory that runs out where no mode of the run catches it ends the run as
// every other shortage does, with a report and status 1, never an abort.
int main(int argc, char** argv) {
  try {
    return favlink_main(argc, argv);
  } catch (const std::bad_alloc&) {
    errmsg("cannot get memory\n");
    return 1;
  }
}
