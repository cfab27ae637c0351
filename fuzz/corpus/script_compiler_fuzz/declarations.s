arrays(val: a[], b[10]; chr: s[255]; cel: c[]) val: t[3], u; chr: w[]; {
  t[1] = a[1] + b[2] + s[1] + u; w[1] = 0; m(c); return(t[1]);
}
unused(val: used, spare; chr: text) { used = 1; m("used spare", text); }
longer(val: n, nn, n_1) { return(n + nn + n_1 + n(1)); }
