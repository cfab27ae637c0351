#SEED
// The worksheet functions: entries, display texts, searching, widths, the pointer and moving cells.
mk(val: r, c, m) { return(makentry("  +1+2  ", r, c, 0, m)); }
mkl(val: r, c) { return(makentry("+5", r, c, 0, 1)); }
blank() { return(makentry("   ", 1, 1, 0, 0)); }
ge(val: r, c) val: n; chr: s[40]; { n = getentry(s, r, c, 0); MessageBox(0, "E", "[%s]", s); return(n); }
cd(val: r, c, w) val: n; chr: s[10]; { n = celldisplay(s, r, c, 0, w); MessageBox(0, "D", "[%s]", s); return(n); }
nc(val: r, c) { return(nextcol(r, c, 0)); }
nr(val: r) { return(nextrow(r, 0)); }
lr(val: l) { return(lastrow(l)); }
cw(val: c, w) { return(cwidth(c, 0, w)); }
cw1() { return(cwidth(1)); }
go(val: r, c) { gotocell(r, c, 0); return(cprow() * 1000 + cpcol()); }
pg(cel: c) { return(purgecell(c)); }
mv(cel: c; val: r, k) { return(movecell(c, r, k, 0)); }
cp(cel: c; val: r, k) { return(copycell(c, r, k, 0)); }
at(cel: c; val: k) { return(attribute(c, k)); }
sel() val: a[4]; { return(selectedcells(a)*100000 + a[1]*1000 + a[3]); }
self() { return(purgecell([1,1])); }
mk2(val: l) { return(makentry("7", 1, 1, l, 0)); }
bound(val: a[]) { return(purgecell([5,1])); }
