#pragma once
// STUB (local only)
#include <QIcon>
namespace qv { QIcon pegIcon(); }
