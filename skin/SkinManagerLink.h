#pragma once
// What a skin data component asks of the process-wide skin manager. The manager unit registers one
// link before any layout with a skin data component loads; without a link (tools, portable tests)
// a component keeps its settings and its skin and nothing is skinned.
namespace qv {

class TSkinData;

// Delayed commands of the skin manager (none pending: scNone).
enum TSkinCommand { scNone = 0, scSkin = 1, scUnskin = 2, scRefresh = 3, scPurge = 6 };

class TSkinManagerLink {
public:
  virtual ~TSkinManagerLink() = default;

  // Creates the manager if there is none and registers the component (registration order kept).
  virtual void RegisterSkinData(TSkinData *data) = 0;
  // The component is being destroyed: the manager forgets it (and any command aimed at it).
  virtual void UnregisterSkinData(TSkinData *data) = 0;
  // Installs the window hook on the calling thread; a second call does nothing.
  virtual void InstallHook() = 0;
  // For a component of a kind other than sfMainform at the end of its load: the manager becomes
  // active, its state is counted up and, when the component's owner is a form, that form's window
  // is skinned at once.
  virtual void StartAtOnce(TSkinData *data) = 0;
  // Makes `target` the command target and schedules `command` after `interval` milliseconds
  // (before the first activation the skin and unskin commands only switch the active flag).
  virtual void PostCommand(TSkinData *target, TSkinCommand command, int interval) = 0;
  // Marks the manager as started (state 1): commands run on the timer from now on.
  virtual void SetStarted() = 0;
  virtual bool Started() const = 0;
  // Every form skinner that uses the component re-reads its skin objects (a new skin was loaded).
  virtual void ReloadSkinners(TSkinData *data) = 0;
};

// Registers the manager's link (null: none); returns the previous one. The link must outlive
// every skin data component that registered with it.
TSkinManagerLink *SetSkinManagerLink(TSkinManagerLink *link);
TSkinManagerLink *SkinManagerLink();

} // namespace qv
