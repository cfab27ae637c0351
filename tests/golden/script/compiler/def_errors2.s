twotypes(val: chr: x) { return(1); }
untyped(x) { return(1); }
celllocal() cel: c; { return(1); }
localtypes() val: chr: t; { return(1); }
dup(val: x, x) { return(x); }
badname(val: 1x) { return(1); }
many(val: a1,a2,a3,a4,a5,a6,a7,a8,a9,a10,a11,a12,a13,a14,a15,a16,a17,a18,a19,a20,a21,a22,a23,a24,a25,a26,a27,a28,a29,a30,a31,a32,a33) { return(1); }
locals() val: a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p; chr: q,r,s,t,u,v,w,x,y,z,aa,bb,cc,dd,ee; { return(1); }
nameisfine_butthisoneis_too_long() { return(1); }
_ok@1() { return(1); }
