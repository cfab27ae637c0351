multi
(val: x)
val: t;
{
  t = x;
  return(t);
}
unclosed(val: x) {
  return(x);
