! Writes tests/fmtio/data/nested_gfortran.txt: random nested formats of
! I1 fields, one-letter literals, slashes and colons in repeated groups,
! each written with 0 to 8 integer items. A fixed congruential generator
! keeps the cases the same from one compiler to the next.
! Build and run in tests/fmtio/data:
!   gfortran -o /tmp/nested nested_gfortran.f90 && /tmp/nested
program nested_gfortran
  implicit none
  integer, parameter :: ncases = 400
  integer(8) :: seed
  integer :: k, n, i
  integer :: vals(8)
  character(len=200) :: fmt
  logical :: anydata
  ! Reversion goes to the last outermost group, which must hold an I1 too.
  logical :: topgroup, topdata
  seed = 20261207
  open (10, file='nested_gfortran.txt', status='replace', action='write')
  write (10, '(A)') &
    '# Records written by gfortran 12.2 for nested formats of I1 fields, literals,', &
    '# slashes and colons in repeated groups (tests/fmtio/data/nested_gfortran.f90', &
    '# made this file; run it again to remake it).', &
    '# A case is a line "@FORMAT|N": the format written with the N integer items', &
    '# 1, 2, ..., 8; the lines up to the next "@" line are the records written,', &
    '# empty records among them. Lines before the first case are comments.'
  do i = 1, 8
    vals(i) = mod(i, 10)
  end do
  do k = 1, ncases
    do
      fmt = '('
      anydata = .false.
      topgroup = .false.
      topdata = .false.
      call list(1, fmt, anydata)
      fmt = trim(fmt)//')'
      if (anydata .and. (topdata .or. .not. topgroup)) exit
    end do
    n = next(9)
    write (10, '(A,A,A,I1)') '@', trim(fmt), '|', n
    write (10, fmt) (vals(i), i = 1, n)
  end do
  close (10)
contains
  ! A pseudo-random integer 0..m-1.
  integer function next(m)
    integer, intent(in) :: m
    seed = mod(seed * 48271_8, 2147483647_8)
    next = int(mod(seed / 7, int(m, 8)))
  end function

  ! I1 fields written so far.
  integer function count_i1(s)
    character(len=*), intent(in) :: s
    integer :: j
    count_i1 = 0
    do j = 1, len_trim(s) - 1
      if (s(j:j+1) == 'I1') count_i1 = count_i1 + 1
    end do
  end function

  ! A repeat count written before an entry: none, or 1 to 3.
  subroutine repeat(s)
    character(len=*), intent(inout) :: s
    integer :: r
    r = next(5)
    if (r >= 1 .and. r <= 3) s = trim(s)//char(ichar('0') + r)
  end subroutine

  recursive subroutine list(depth, s, anydata)
    integer, intent(in) :: depth
    character(len=*), intent(inout) :: s
    logical, intent(inout) :: anydata
    integer :: count, j
    count = 1 + next(4)
    do j = 1, count
      if (j > 1) s = trim(s)//','
      call entry(depth, s, anydata)
    end do
  end subroutine

  recursive subroutine entry(depth, s, anydata)
    integer, intent(in) :: depth
    character(len=*), intent(inout) :: s
    logical, intent(inout) :: anydata
    integer :: kind, before
    kind = next(10)
    if (kind >= 7 .and. depth < 4 .and. len_trim(s) < 120) then
      call repeat(s)
      s = trim(s)//'('
      before = count_i1(s)
      call list(depth + 1, s, anydata)
      s = trim(s)//')'
      if (depth == 1) then
        topgroup = .true.
        topdata = count_i1(s) > before
      end if
    else if (kind <= 2) then
      call repeat(s)
      s = trim(s)//'I1'
      anydata = .true.
    else if (kind <= 4) then
      s = trim(s)//'"'//char(ichar('a') + next(6))//'"'
    else if (kind == 5) then
      call repeat(s)
      s = trim(s)//'/'
    else
      s = trim(s)//':'
    end if
  end subroutine
end program
