# Runs that need root: a full disk on a small tmpfs, and files of another user.
# The scan stops after the first link on a full disk.
only posix
args -v -o out p.html
file p.html <A HREF="http://first/">First</A><A HREF="http://l/">Locked</A><A HREF="http://w/">WriteOnly</A>
def F [InternetShortcut]\r\nURL=http://first/\r\n

== one block left: the file takes it, the check after its close reports it
disk 1
dir out
err no free disk space\n"out/First.url"; writing error\n
new out/First.url {F}

== -x stops there too, after its summary of what it wrote before
disk 1
args -x -v -o out p.html
dir out
err no free disk space\n"out/First.url"; writing error\n0 written, 0 already there, 1 passed over\n
new out/First.url {F}

== the same with a drive letter in the path
disk 1
args -v -o d: p.html
dir d:
err d drive: no free disk space\n"d:/First.url"; writing error\n
new d:/First.url {F}

== no block left: the close fails and the half-written file goes, so that a later run writes it
disk 0
args -v p.html
err "First.url"; writing error\n

== -x says why: the disk is full
disk 0
args -v -x p.html
err no free disk space\n"First.url"; writing error\n0 written, 0 already there, 1 passed over\n

== files another user cannot read or write are never changed, nor reported
as nobody
file out/Locked.url secret
file out/WriteOnly.url keep
mode out 0777
mode out/Locked.url 0
mode out/WriteOnly.url 0200
new out/First.url {F}

== -x out of inodes: a full disk, which stops the scan; the summary counts every link met
only posix
inodes 4
args -v -x b.html
file b.html <A HREF="rel.html">R</A><A HREF="https://f/">F</A><A HREF="https://g/">G</A><A HREF="https://h/">H</A>\n
err no free disk space\n"G.url": cannot create\n1 written, 0 already there, 2 passed over\n
new F.url [InternetShortcut]\r\nURL=https://f/\r\n
