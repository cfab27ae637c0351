a(val: x) { while (x { x = 1; } }
b(val: x) { for (x = 1; x; x = x + 1 { x = 1; } }
c(val: x) { if (x) { x = 1; } else (x) { x = 2; } }
d(val: x) { while (x)) { x = 1; } }
