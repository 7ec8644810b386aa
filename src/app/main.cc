#include "app/favlink.h"

int main(int argc, char** argv) { return favlink_main(argc, argv); }
