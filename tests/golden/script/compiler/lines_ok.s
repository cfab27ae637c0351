tabs(val:	x)	{	return(x);	}
/* a comment
   over lines */ crlf(val: x) { return(x); }
ctrl(val: x) { return(x); }junk(val: y) { return(y); }
last(val: x) { return(x); }