! The formatted I/O loops of fmtio_bench, written in Fortran for comparison
! with gfortran's own runtime. The loop counts come from the file named as the
! first argument (bench/loops.txt). Prints one line per case: name and seconds.
program fmtio_peer
  implicit none
  integer :: nreals, nints, nreads
  real :: v(10), value
  integer :: k(13), i, j, year
  integer(kind=8) :: t0, t1, rate
  double precision :: total
  character(len=13) :: line
  character(len=512) :: dir, loops

  call get_environment_variable('RINGEDIT_BENCH_DIR', dir)
  if (len_trim(dir) == 0) dir = '/tmp'
  call get_command_argument(1, loops)
  call read_counts(trim(loops), nreals, nints, nreads)

  open(20, file=trim(dir)//'/peer-reals.txt', status='replace')
  call system_clock(t0, rate)
  do i = 0, nreals - 1, 10
    do j = 1, 10
      v(j) = real(mod(i + j - 1, 9973)) * 0.125 - 500.0
    end do
    write(20, '(10F8.3)') v
  end do
  close(20)
  call system_clock(t1)
  print '(A,F12.6)', 'writeReals ', dble(t1 - t0) / dble(rate)

  total = 0
  open(21, file=trim(dir)//'/peer-reals.txt', status='old')
  call system_clock(t0)
  do i = 0, nreals - 1, 10
    read(21, '(10F8.3)') v
    total = total + v(1)
  end do
  close(21)
  call system_clock(t1)
  print '(A,F12.6)', 'readReals ', dble(t1 - t0) / dble(rate)

  line = '  1950  1.234'
  call system_clock(t0)
  do i = 0, nreads - 1
    line(6:6) = achar(48 + mod(i, 10))
    read(line, *) year, value
    total = total + year
  end do
  call system_clock(t1)
  print '(A,F12.6)', 'internalListReads ', dble(t1 - t0) / dble(rate)

  open(22, file=trim(dir)//'/peer-integers.txt', status='replace')
  call system_clock(t0)
  do i = 0, nints - 13, 13
    do j = 1, 13
      k(j) = mod(i + j - 1, 199999) - 99999
    end do
    write(22, '(13I6)') k
  end do
  close(22)
  call system_clock(t1)
  print '(A,F12.6)', 'writeIntegers ', dble(t1 - t0) / dble(rate)
  if (total == -1d0) print *, total

contains

  ! Reads the "name count" lines of the counts file; stops when one is missing.
  subroutine read_counts(path, nreals, nints, nreads)
    character(len=*), intent(in) :: path
    integer, intent(out) :: nreals, nints, nreads
    character(len=200) :: text
    character(len=64) :: name
    integer :: n, ios
    nreals = 0
    nints = 0
    nreads = 0
    open(30, file=path, status='old', action='read')
    do
      read(30, '(A)', iostat=ios) text
      if (ios /= 0) exit
      if (text(1:1) == '#' .or. len_trim(text) == 0) cycle
      read(text, *) name, n
      select case (trim(name))
      case ('reals')
        nreals = n
      case ('integers')
        nints = n
      case ('internalReads')
        nreads = n
      end select
    end do
    close(30)
    if (nreals <= 0 .or. nints <= 0 .or. nreads <= 0) stop 'loop counts missing'
  end subroutine read_counts
end program fmtio_peer
