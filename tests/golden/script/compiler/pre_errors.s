#FKEY 1 "One"
#FKEY 17 "Many"
#FKEY 5 Name
#FKEY 5 ""
#FKEY 5 "EightChr"
#VERSIONX
#INCLUDE "x.s"
{ not a directive }
f() { return(1); }
