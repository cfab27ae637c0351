#SEED
// sprintf and MessageBox share the format expansion.
pf(val: x) val: n; chr: s[40]; { n = sprintf(s, "v=%5.2f|%s|%d%%", x, "ab"); MessageBox(0, "T", "%s", s); return(n); }
p0(val: x) chr: s[40]; { return(sprintf(s, "%5.0f", x)); }
small(val: x) val: n; chr: s[4]; { n = sprintf(s, "%100000.100000f", x); MessageBox(0, "S", s); return(n); }
nf() val: n; chr: s[40]; { n = sprintf(s, "%.2f|%5.f", 3.14159); MessageBox(0, "N", s); return(n); }
miss() chr: s[40]; { return(sprintf(s, "%s %s", "a")); }
surplus() chr: s[40]; { return(sprintf(s, "x", 1)); }
passed(chr: t) { return(sprintf(t, "%s!", "passed in")); }
outer() val: n; chr: s[6]; { n = passed(s); MessageBox(0, "P", s); return(n); }
cellfmt() { return(sprintf([1,1], "x")); }
fromcell() chr: s[20]; { sprintf(s, "<%s>", [1,1]); MessageBox(0, "C", s); return(0); }
yn(val: t) { return(MessageBox(t, "Q", "Sure?")); }
empty() { return(MessageBox(2, "Q", "")); }
boxcell() { return(MessageBox(0, "Q", [1,1])); }
