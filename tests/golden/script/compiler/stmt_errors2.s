a(val: x) { while [1, 1] { x = 1; } }
b(val: x) { while (x) x = 1; }
c(val: x) { for [1, 1] { x = 1; } }
d(val: x) { for (x = 1) { x = 2; } }
e(val: x) { for (x = 1; x < 2) { x = 2; } }
f(val: x) { for (;;) x = 2; }
g(val: x) { if (x ; { x = 1; } }
i(val: x) { returnx; }
k(val: x) { if_(x) { x = 4; } }
h(val: x) { if (x) { x = 1; }
