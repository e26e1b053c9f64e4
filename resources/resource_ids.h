#pragma once
// Icon groups are numbered in the order shell icon extraction counts them: the program's icon is
// index 0 and the fourteen standard pointer pictures follow as 1 to 14. Add no other icon group.
#define IDI_PROGRAM 100
#define IDI_POINTER_FIRST 101
