#SEED
// The string families take a script's character arrays; copies into them stop at their size.
cp() val: n; chr: s[8]; { strcpy(s, "abc"); strcat(s, "defghijk"); n = strlen(s); MessageBox(0, "S", "[%s]", s); return(n); }
ncp() chr: s[8]; { strncpy(s, "abcdef", 2); strncat(s, "xyz", 1); MessageBox(0, "N", "[%s]", s); return(strcmp(s, "abx")); }
idx() chr: s[20]; { strcpy(s, "Hello World!"); return(index(s, 'W') * 100 + atof("12")); }
pass(chr: t) { strcat(t, "+"); return(strlen(t)); }
outer() val: n; chr: s[4]; { strcpy(s, "ab"); n = pass(s); n = n * 10 + pass(s); n = n * 10 + pass(s); MessageBox(0, "P", "[%s]", s); return(n); }
put(cel: c) { c[1] = 66; return(errno()); }
lab() { strcpy([2,1,,2], "copied"); return(errno()); }
