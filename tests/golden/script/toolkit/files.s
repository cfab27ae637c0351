#SEED
// Text files in four slots, reports and rows as the text export lays them out, and work files.
op(val: m) { if (m == 1) { return(fopen("lines.txt", "r")); } if (m == 2) { return(fopen("out.txt", "w")); } if (m == 3) { return(fopen("missing.txt", "r")); } if (m == 5) { return(fopen("out.txt", "r")); } if (m == 6) { return(fopen("rep.txt", "r")); } return(fopen("lines.txt", "rx")); }
cl(val: h) { return(fclose(h)); }
gl(val: h, n) val: k; chr: s[20]; { k = fgets(s, n, h); MessageBox(0, "G", "[%s]", s); return(k); }
pl(val: h) { return(fputs("ab\tc", h)); }
pn(val: h, n) { return(fputs("abcdef", h, n)); }
el() val: n; chr: s[80]; { n = errlist(s, 1); MessageBox(0, "L", "%s", s); return(n); }
rp(val: w) { return(report("rep.dat", 1, 1, 1, w, 3)); }
rd(val: w) val: n; chr: s[40]; { n = rowdisplay(s, 1, 1, 0, w); MessageBox(0, "R", "[%s]", s); return(n); }
sv() { return(savework("saved.qx2", 1)); }
svx() { return(savework("saved.xyz", 1)); }
ld(val: l) { return(loadwork("saved.qx2", l)); }
fw(val: l) { return(freework(l)); }
show(val: n) val: k; chr: s[200]; { k = fgets(s, 200, n); MessageBox(0, "F", "[%s]", s); return(k); }
many() val: i; { for (i = 0; i < 4; ++i) { fclose(i + 1); } return(0); }
sys() { return(errno() > 1000); }
els() val: n; chr: s[80]; { n = errlist(s, 1); return(strncmp(s, "System Level Error: ", 20) == 0 && n > 20); }
