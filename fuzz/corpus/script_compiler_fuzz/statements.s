chain(val: x) {
  if (x > 1) { x = 1; } elseif (x < 0) { x = 0; } else { x = 2; } elseif (x) { x = 3; }
}
loops(val: x, i) {
  for (;;) { break; }
  for (i = 0; i < 10; ++i) { if (i == 5) { continue; } x += i; }
  while (x) { x = x - 1; ;; }
  continuex();
  return;
}
returns(val: x) { if (x) { return(x); } return -x; }
