// The options of link page mode: filled once by the option scan, then read
// (never changed) by the page drivers and the markup writer below them.
#ifndef FAVLINK_LINKPAGE_OPTIONS_H_
#define FAVLINK_LINKPAGE_OPTIONS_H_

struct LinkPageOptions {
  const char* title = "Favorite Links From URL Files";  // -t
  // -fN: 1 comment type (<DL>, numbered entries); under -x, 2 a bookmark
  // file and 3 one without folders, its links tagged with them; anything
  // else list type (<OL>).
  int format = 0;
};

#endif  // FAVLINK_LINKPAGE_OPTIONS_H_
