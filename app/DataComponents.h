#pragma once
// The data layer's connection and query as components, so that the data module's layout holds
// them by name: TDBConnection opens its connection string when Connected is set (after loading,
// when set in a layout); TDBQuery has its connection, statement and scroll hooks as published
// properties, and offers itself to data sources.
#include "platform/data/Connection.h"
#include "platform/data/Query.h"
#include "platform/forms/DBCtrls.h"

#include <string>
#include <vector>

namespace qv {

class TDBQuery;

// How other processes may share the database; SQLite always shares, so only the setting is kept.
enum class TConnectMode {
  cmUnknown,
  cmRead,
  cmWrite,
  cmReadWrite,
  cmShareDenyRead,
  cmShareDenyWrite,
  cmShareExclusive,
  cmShareDenyNone
};

class TDBConnection : public TComponent, public TConnection {
  QV_DECLARE_CLASS(TDBConnection)
public:
  explicit TDBConnection(TComponent *owner);
  // Detaches the queries that use this connection before the connection goes.
  ~TDBConnection() override;

  // Opens or closes the database; while a layout loads, opening waits for Loaded.
  bool GetConnected() const { return Connected(); }
  void SetConnected(bool on);
  // The database layer never asks for a login; the setting is kept for the layout.
  bool LoginPrompt() const { return loginPrompt_; }
  void SetLoginPrompt(bool on) { loginPrompt_ = on; }
  TConnectMode Mode() const { return mode_; }
  void SetMode(TConnectMode mode) { mode_ = mode; }

  void Loaded() override;

private:
  friend class TDBQuery;
  bool loginPrompt_ = true;
  bool connectWanted_ = false;
  TConnectMode mode_ = TConnectMode::cmUnknown;
  std::vector<TDBQuery *> queries_;
};

using TDataSetEvent = TEvent<TDataSet *>;

class TDBQuery : public TDataSetComponent, public TQuery {
  QV_DECLARE_CLASS(TDBQuery)
public:
  explicit TDBQuery(TComponent *owner);
  ~TDBQuery() override;

  // The connection as a component (the query's own connection is the same object).
  TDBConnection *Connection() const { return connection_; }
  void SetConnection(TDBConnection *connection);
  TDataSet *DataSet() const override { return const_cast<TDBQuery *>(this); }

  // Bound by handler name from a layout; called with the query's dataset.
  TDataSetEvent OnBeforeScroll;
  TDataSetEvent OnAfterScroll;

private:
  TDBConnection *connection_ = nullptr;
};

} // namespace qv
