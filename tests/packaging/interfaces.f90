! Generated from interfaces.h by tools/fortran_interfaces.cmake; do not edit.
! Explicit interfaces of the 12 by-address routines: `use korvan`.
module korvan
  implicit none
  interface
    subroutine korini()
      implicit none
    end subroutine korini
    real function getver()
      implicit none
    end function getver
    integer function getplv()
      implicit none
    end function getplv
    subroutine areaf(nxray, nyray, n)
      implicit none
      integer, intent(in), dimension(*) :: nxray
      integer, intent(in), dimension(*) :: nyray
      integer, intent(in) :: n
    end subroutine areaf
    subroutine qqwext(id, out)
      implicit none
      integer, intent(in) :: id
      integer, intent(inout) :: out
    end subroutine qqwext
    subroutine trfdat(ndays, nday, nmon, nyear)
      implicit none
      integer, intent(in) :: ndays
      integer, intent(inout) :: nday
      integer, intent(inout) :: nmon
      integer, intent(inout) :: nyear
    end subroutine trfdat
    subroutine hstgrm(xray, n, iray)
      implicit none
      real, intent(in), dimension(*) :: xray
      integer, intent(in) :: n
      integer, intent(inout), dimension(*) :: iray
    end subroutine hstgrm
    integer function delaun(xray, yray, n, i1ray, i2ray, i3ray, nmax)
      implicit none
      real, intent(in), dimension(*) :: xray
      real, intent(in), dimension(*) :: yray
      integer, intent(in) :: n
      integer, intent(inout), dimension(*) :: i1ray
      integer, intent(inout), dimension(*) :: i2ray
      integer, intent(inout), dimension(*) :: i3ray
      integer, intent(in) :: nmax
    end function delaun
    subroutine shield(cblnk, cmode)
      implicit none
      character(len=*), intent(in) :: cblnk
      character(len=*), intent(in) :: cmode
    end subroutine shield
    subroutine gusrid(cuser)
      implicit none
      character(len=*), intent(inout) :: cuser
    end subroutine gusrid
    subroutine scale(x, line, a3, scale_)
      implicit none
      double precision, intent(in) :: x
      real, intent(inout) :: line
      integer, intent(in) :: a3
      integer, intent(inout) :: scale_
    end subroutine scale
    subroutine txtlong(ctext, nxposition, nyposition, nwidthofbox, nheightofbox, &
        xangle)
      implicit none
      character(len=*), intent(in) :: ctext
      integer, intent(in) :: nxposition
      integer, intent(in) :: nyposition
      integer, intent(in) :: nwidthofbox
      integer, intent(in) :: nheightofbox
      real, intent(in) :: xangle
    end subroutine txtlong
  end interface
end module korvan
