#pragma once
// Resource ids shared by HC.rc and the code.
#define IDI_APP 101
