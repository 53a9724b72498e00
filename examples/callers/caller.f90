! The same plot from Fortran; the module korvan checks every call.
program caller
  use korvan
  implicit none
  call metafl('PS')
  call korini()
  call pagera()
  call hsymbl(40)
  call linwid(3)
  call color('BLUE')
  call arcell(1485, 1050, 900, 500, 0.0, 360.0, 30.0)
  call color('RED')
  call vector(1485, 1050, 2264, 600, 1501)
  call color('FORE')
  call symbol(21, 1485, 1050)
  call korfin()
end program caller
