a(val: x) { x = 1 }
b(val: x) { else { x = 1; } }
c(val: x) { elseif (x) { x = 1; } }
d(val: x) { while (x) { break } }
e(val: x) { while (x) { continue x; } }
f(val: x) { return(x) }
g(val: x) { if x { x = 1; } }
h(val: x) { if (x) x = 1; }
i(val: x) { if (x) { x = 1; } else { x = 2; } else { x = 3; } }
j(val: x) { if (x) { x = 1; } else 2; }
