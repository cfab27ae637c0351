a(val: x) { x = ~1; }
b(val: x) { x = $1; }
c(val: x) { x = #1; }
d(val: x) { ++3; }
e(val: x) { x = x ? 1; }
f(val: x) { x = (1) 2; }
g(val: x) { x = 08; }
h(val: x) { x = 0x; }
i(val: x) { x = 1e+; }
k(val: x) { x = "s"; }
