open(val: a[3) { return(a[1]); }
zero(val: a[0]) { return(a[1]); }
huge(val: a[256]) { return(a[1]); }
letters(val: a[1x]) { return(a[1]); }
separator(val: a[2]b) { return(a[1]); }
localzero() val: t[0]; { return(t[1]); }
fits() val: t[255]; chr: s[255]; { t[1] = 1; s[1] = 2; return(t[1]); }
