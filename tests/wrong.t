# Each case is wrong in one respect on purpose: run with --invert, every one
# must fail, which shows that the runner compares each of these at all.
file p.html <A HREF="http://a/">A</A>
== the exit status
args -v
exit 1
== standard output
args -usage
out x
== standard error
args -v -n a.b p.html
exit 1
== the bytes of a new file
args -v p.html
new A.url [InternetShortcut]\nURL=http://a/\n
== a file nobody expects
args -v p.html
