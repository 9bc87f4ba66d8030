// Skinned dialog: a borderless window composed in memory (background
// picture, content, controls) and put on screen as a layered window or by a
// plain copy. Controls are borrowed: the subclass that creates them deletes
// them. Show and hide effects are in PvDlgEffects.cpp.
//
// One thread paints: the window's own. Everything that moves, composes or
// presents the window, and the dialog's state that painting reads, belongs
// to it; an effect played on a worker only works out its steps and posts
// each to the window's thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

#include "DialogEffects.h"
#include "Handles.h"
#include "PvDC.h"
#include "PvWin.h"

class CPvDlg : public CPvWin {
 public:
  // Posted to the dialog when an effect has finished.
  static constexpr UINT kEffectFinishedMessage = 7225;
  static constexpr int kNoEffect = -1;
  static constexpr int kDefaultBackgroundId = 60051;

  CPvDlg();
  // Stops a show effect that still plays, then frees the buffers. A subclass
  // whose controls the effect draws stops it first (StopShowEffect).
  ~CPvDlg() override;

  void Paint(HDC hdc) override;
  void OnInit() override;
  void AttachControls() override;
  LRESULT WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual void OnMouseWheel(int keys, int delta, int x, int y);
  virtual void OnSize(WPARAM wParam, LPARAM lParam);
  virtual void OnMouseMove(WPARAM wParam, LPARAM lParam);
  virtual void OnHover(int x, int y);
  virtual void OnLButtonUp(WPARAM wParam, LPARAM lParam);
  virtual void OnLButtonDown(WPARAM wParam, LPARAM lParam);
  // Alt+F4 or WM_CLOSE: ends the dialog with IDCANCEL. The window stays, so a
  // modal loop always returns and its owner is enabled again.
  virtual void OnClose();
  // The background picture, nine-slice stretched, or the background colour.
  virtual void DrawBackground(HDC hdc, int left, int top, int right, int bottom);
  // Drawn over the background, under the controls.
  virtual void DrawContent(HDC hdc);
  // Plays a show or hide effect (0 to 13), paced on the calling thread, with
  // every step carried out on the window's thread; returns at once while
  // another plays. Posts kEffectFinishedMessage when done.
  virtual void PlayEffect(int effect);

  // Shows the window, centred when asked in the work area of its owner's
  // monitor (without an owner, the cursor's), plainly with `showCommand`
  // (effect kNoEffect) or by playing `effect` on a worker.
  void Show(int effect, bool centre, int showCommand);
  // Shows the dialog and pumps messages until Close; returns its result. The
  // show effect is over when it returns.
  int RunModal(int effect, bool disableOwner, bool centre);
  void Close(int result);
  // Cuts each corner by two pixels in a staircase.
  void SetRoundRegion();
  // True when no visible control that takes the mouse covers (x, y).
  bool IsEmptyPoint(int x, int y) const;

  void AddControl(CPvBase* control) { m_controls.push_back(control); }
  bool IsBusy() const { return m_bBusy; }
  bool IsEffectRunning() const { return m_bEffectRunning; }
  HDC GetCompositeDC() const { return m_compositeDC; }

  // Settings for subclasses and callers.
  int m_nResult = 2;
  int m_nOpenEffect = 0;
  int m_nCaptionHeight = 30;
  bool m_bDragAnywhere = false;
  bool m_bDraggable = true;
  bool m_bRounded = true;
  int m_nBackgroundId = kDefaultBackgroundId;
  HDC m_hParentBackgroundDC = nullptr;
  int m_nBackgroundVerticalEdge = 30;
  int m_nBackgroundHorizontalEdge = 3;
  COLORREF m_backgroundColor = 0xFFFFFF;

 protected:
  // Keeps the controls from painting and from mouse input (during effects
  // that move the window, or while a subclass hides its controls). Only on
  // the window's thread.
  void SetBusy(bool busy) { m_bBusy = busy; }

  // Hides the window and ends RunModal; on the window's thread it first stops
  // the show effect, which would otherwise show the window again.
  void EndDialog();
  // Makes a show effect that still plays stop after its current step and
  // waits for its thread; steps it posted meanwhile are dropped. Only on the
  // window's thread.
  void StopShowEffect();
  // Waits between two frames of an effect, on the effect's thread. A subclass
  // may pace effects otherwise (a soak plays them without pauses).
  virtual void PauseEffect(DWORD milliseconds) { Sleep(milliseconds); }

  std::atomic<bool> m_bClosed{false};
  std::atomic<bool> m_bEffectRunning{false};
  // Set by StopShowEffect while it waits; effects check it between steps.
  std::atomic<bool> m_bStopEffect{false};
  std::vector<CPvBase*> m_controls;  // borrowed

 private:
  // Posted by an effect's worker: carry out the step left in m_pendingStep.
  static constexpr UINT kEffectStepMessage = 7226;

  // Runs `step` on the window's thread: at once when called there, else
  // posted and waited for (a sent message would deadlock against
  // StopShowEffect's join). False when the effect is to stop.
  bool OnWindowThread(std::function<void()> step);
  void RunPendingStep();
  void RunEffect(int effect);
  // Takes the window's place as the dialog's position: the user may have
  // dragged it since the dialog last moved it.
  void TakeWindowPosition();
  void MoveWindowTo(int x, int y, int width, int height, UINT flags = SWP_SHOWWINDOW);
  void SetAlpha(int alpha);
  void CarryOut(const EffectStep& step);
  // Marks an effect as running; false while another one is.
  bool ClaimEffect();
  // Plays an effect claimed by ClaimEffect and ends the claim.
  void PlayClaimedEffect(int effect);
  // Composes the window afresh and keeps its picture in m_effectPicture.
  void TakePicture();
  void PlayMiddleLineEffect(const PvRect& stored);
  void PlayCardEffect(const PvRect& stored, bool foldOut);
  static unsigned __stdcall ShowEffectThread(void* dialog);

  // The window thread's state.
  bool m_bBusy = false;
  CPvDC m_backgroundDC;
  CPvDC m_compositeDC;
  // The window's picture while an effect draws it (effects 4, 10 and 11).
  UniqueCom<IStream> m_effectPicture;

  UniqueKernelHandle m_showEffectThread;
  std::mutex m_stepMutex;  // guards m_pendingStep
  std::function<void()> m_pendingStep;
  // Set when the window's thread has carried out a posted step, and by
  // StopShowEffect; auto-reset, waited for by the effect's thread.
  UniqueKernelHandle m_stepTaken;
};
