// -x in link page mode: .url files and folders of them, as they lie on disk
// today, into a UTF-8 page or a bookmark file.
#ifndef FAVLINK_LINKPAGE_PUT_TREE_H_
#define FAVLINK_LINKPAGE_PUT_TREE_H_

#include <span>

#include "linkpage/options.h"

/// Writes the whole page: the head (the link page head declaring UTF-8 with
/// the title line, or, for format types 2 and 3, the head of a bookmark
/// file), the entries of each of args in order, then closes what is open and
/// writes the foot. Format type 3 writes no folders: each link's tags begin
/// with the names of its folders.
/// A folder argument stands for every .url file below it (by the extension,
/// any case), walked in byte order: at each level the files, then the
/// subfolders, never through a link; an entry's folder is its path below the
/// argument ("News/Daily"). Each folder is read once and held open while
/// what lies below it is opened through it. A file keeps today's rules, its
/// folder ending at the last '/' or '\\'. Only regular files are read.
/// Names, addresses and headings are written with & < > " escaped.
/// "%s: not found\n" for an argument that cannot be opened, "%s: cannot read
/// folder\n" and "%s: cannot read\n" for what a walk cannot read, "%s: not a
/// regular file\n" for a FIFO, socket, device or link to a folder met as a
/// .url file; the rest goes on. A .url file is read by the start of each
/// line: only its address, icon, description and tags lines are held, so no
/// other line, however long, takes memory. The description and the tags go
/// on a bookmark file, and the description on comment type's <DD> line. One that cannot be read
/// whole gives no link: "\"%s\": read error\n" at a read error, "cannot get memory\n" for a line
/// held that is longer than memory; the rest goes on. Memory that runs out elsewhere ends the walk
/// with that message and the page is closed. A path in a message is the argument and the names
/// below it joined by one separator each. False when a file could not be read whole or memory ran
/// out.
bool put_tree_page(const LinkPageOptions& options, std::span<char*> args);

#endif  // FAVLINK_LINKPAGE_PUT_TREE_H_
