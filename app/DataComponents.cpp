#include "app/DataComponents.h"

#include "platform/classes/ClassBuilder.h"

#include <algorithm>

namespace qv {

namespace {
const std::vector<std::string> kConnectModeNames = {"cmUnknown",        "cmRead",          "cmWrite",
                                                    "cmReadWrite",      "cmShareDenyRead", "cmShareDenyWrite",
                                                    "cmShareExclusive", "cmShareDenyNone"};
} // namespace

const TClassInfo &TDBConnection::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TDBConnection, TComponent>("TDBConnection", [](auto &c) {
    c.String(
        "ConnectionString", [](const TDBConnection &dc) { return dc.ConnectionString; },
        [](TDBConnection &dc, const std::string &text) { dc.ConnectionString = text; });
    c.Boolean("LoginPrompt", &TDBConnection::LoginPrompt, &TDBConnection::SetLoginPrompt, true);
    c.Enum("Mode", &TDBConnection::Mode, &TDBConnection::SetMode, kConnectModeNames, 0);
    c.Boolean("Connected", &TDBConnection::GetConnected, &TDBConnection::SetConnected, false);
  });
  return info;
}

TDBConnection::TDBConnection(TComponent *owner) : TComponent(owner) {}

TDBConnection::~TDBConnection() {
  for (TDBQuery *query : std::vector<TDBQuery *>(queries_))
    query->SetConnection(nullptr);
}

void TDBConnection::SetConnected(bool on) {
  if (Loading()) {
    connectWanted_ = on;
    return;
  }
  on ? Open() : Close();
}

void TDBConnection::Loaded() {
  TComponent::Loaded();
  if (connectWanted_) Open();
}

const TClassInfo &TDBQuery::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TDBQuery, TDataSetComponent>("TDBQuery", [](auto &c) {
    c.template Reference<TDBConnection>("Connection", &TDBQuery::Connection, &TDBQuery::SetConnection);
    c.String("SQL", &TDBQuery::SQL, &TDBQuery::SetSQL);
    c.Event("BeforeScroll", &TDBQuery::OnBeforeScroll);
    c.Event("AfterScroll", &TDBQuery::OnAfterScroll);
  });
  return info;
}

TDBQuery::TDBQuery(TComponent *owner) : TDataSetComponent(owner) {
  BeforeScroll = [this](TDataSet &ds) { OnBeforeScroll(&ds); };
  AfterScroll = [this](TDataSet &ds) { OnAfterScroll(&ds); };
}

TDBQuery::~TDBQuery() { SetConnection(nullptr); }

void TDBQuery::SetConnection(TDBConnection *connection) {
  if (connection_ == connection) return;
  if (connection_) std::erase(connection_->queries_, this);
  TQuery::SetConnection(connection);
  connection_ = connection;
  if (connection_) connection_->queries_.push_back(this);
}

} // namespace qv
