good(val: x) { return(x); }
nolist
noparen [1];
closed(val: x) } {
unmatched(val: x { return(1); }
short(val: x) v; { return(x); }
open(val: x) val: t { return(x); }
notype(val: x) int: t; { return(x); }
twogroups(val: x) val: t, chr: s; { return(x); }
semi(val: x); { return(x); }
