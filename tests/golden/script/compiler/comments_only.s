// nothing but comments
/* and a block
   comment */

