! A real Fortran caller of the by-address entry points: texts with hidden
! lengths, numbers by address.
program caller
  implicit none
  real :: getver
  integer :: getplv
  character(len=8) :: cuser
  call metafl('Console')
  call metafl('gksl')
  call pagorg('BOTTOM')
  call korini()
  call pagorg('bottom')
  call pagera()
  call pagfll(0)
  call korfin()
  call korfin()
  cuser = 'xxxxxxxx'
  call gusrid(cuser)
  write(*, '(A,F4.1,A,I1,A,A,A)') 'version ', getver(), ' patch ', getplv(), ' user [', cuser, ']'
end program caller
