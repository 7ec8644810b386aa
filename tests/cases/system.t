# Runs that need root: a full disk on a small tmpfs, and files of another user.
def U [InternetShortcut]\r\nURL=
def P <A HREF="http://first/">First</A><A HREF="http://second/">Second</A>

== one block left: the file takes it, the check after its close reports the drive and stops the scan
only posix
disk 1
args -v -o d: p.html
dir d:
file p.html {P}
err d drive: no free disk space\n"d:/First.url"; writing error\n
new d:/First.url {U}http://first/\r\n

== one block left, a path without a drive
only posix
disk 1
args -v -o out p.html
dir out
file p.html {P}
err no free disk space\n"out/First.url"; writing error\n
new out/First.url {U}http://first/\r\n

== no block left: the close fails and the empty file stays
only posix
disk 0
args -v p.html
file p.html {P}
err "First.url"; writing error\n
new First.url

== files another user cannot read or write are never changed, nor reported
only posix
as nobody
args -v -o out p.html
file out/Locked.url secret
file out/WriteOnly.url keep
mode out 0777
mode out/Locked.url 0
mode out/WriteOnly.url 0200
file p.html <A HREF="http://l/">Locked</A><A HREF="http://w/">WriteOnly</A><A HREF="http://n/">New</A>
new out/New.url {U}http://n/\r\n
