// Scripts that change cells while an evaluation walks them or a frame holds their Array Area.
fw() { return(freework(0)); }
pr(val: r) { return(purgecell([r,2]) + purgecell([r,3])); }
hold(val: a[]) { makentry("3", 1, 1, 0, 0); return(a[1]); }
shrink() { return(attribute([6,1], 3, 1)); }
pair(val: a[], x) { return(a[1] + x); }
rc() { return(recalculate([6,1], 2)); }
