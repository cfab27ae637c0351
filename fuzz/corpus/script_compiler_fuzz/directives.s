// Directives, then the scripts.
#VERSION 2.5
#FKEY 2 "Total"
#FKEY 16 "1234567"
#SEED

total(val: a, b) { return(a + b); }
