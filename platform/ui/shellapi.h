#pragma once
// Files dropped on a window, as the shell hands them over: a window that asked
// for drops (DragAcceptFiles) gets WM_DROPFILES with an HDROP in wParam; the
// window procedure reads the paths and the drop point, then frees the handle
// with DragFinish. UI thread only.
#include "platform/ui/windows.h"

struct HDROP__;
using HDROP = HDROP__*;

constexpr UINT WM_DROPFILES = 0x0233;

// Lets the window (a top-level window) take dropped files, or stop taking them.
void DragAcceptFiles(HWND hWnd, BOOL fAccept);
// iFile 0xFFFFFFFF: the number of files. Otherwise copies the path of file
// iFile (cut to cch - 1 characters) and returns its length without the NUL; a
// null buffer asks for the length only. 0 for an index out of range.
UINT DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch);
// The drop point in the client coordinates of the window that took the drop;
// TRUE when it lies inside the client area.
BOOL DragQueryPoint(HDROP hDrop, LPPOINT lppt);
void DragFinish(HDROP hDrop);
