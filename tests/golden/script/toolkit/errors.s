#SEED
// The toolkit error number: set by failures, read by errno, described by errlist.
set(val: n) { return(seterrno(n)); }
list(val: k) val: n; chr: s[80]; { n = errlist(s, k); MessageBox(0, "L", "%s", s); return(n); }
short() val: n; chr: s[10]; { s[1] = 65; n = errlist(s, 1); return(n * 100 + s[1]); }
noroom() { return(errlist("constant", 1)); }
args() { return(errno(1)); }
