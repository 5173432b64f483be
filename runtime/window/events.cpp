#include "runtime/window/events.h"

#include <strings.h>

namespace carelog::window {
namespace {

struct Named {
  uint32_t number;
  const char* name;
};

constexpr Named kEvents[] = {
    {1, "Accepted"},       {2, "NewSelection"},    {3, "ScrollUp"},       {4, "ScrollDown"},
    {5, "PageUp"},         {6, "PageDown"},        {7, "ScrollTop"},      {8, "ScrollBottom"},
    {9, "Locate"},         {10, "MouseUp"},        {11, "MouseIn"},       {12, "MouseOut"},
    {13, "MouseMove"},     {14, "VBXevent"},       {15, "AlertKey"},      {16, "PreAlert"},
    {17, "Dragging"},      {18, "Drag"},           {19, "Drop"},          {20, "ScrollDrag"},
    {21, "TabChanging"},   {22, "Expanding"},      {23, "Contracting"},   {24, "Expanded"},
    {25, "Contracted"},    {26, "Rejected"},       {27, "DroppingDown"},  {28, "DroppedDown"},
    {0x101, "Selected"},   {0x201, "CloseWindow"}, {0x202, "CloseDown"},  {0x203, "OpenWindow"},
    {0x204, "OpenFailed"}, {0x205, "LoseFocus"},   {0x206, "GainFocus"},  {0x208, "Suspend"},
    {0x209, "Resume"},     {0x20A, "Notify"},      {0x20B, "Timer"},      {0x20C, "DDErequest"},
    {0x20D, "DDEadvise"},  {0x20E, "DDEdata"},     {0x20F, "DDEexecute"}, {0x210, "DDEpoke"},
    {0x211, "DDEclosed"},  {0x220, "Move"},        {0x221, "Size"},       {0x222, "Restore"},
    {0x223, "Maximize"},   {0x224, "Iconize"},     {0x225, "Completed"},  {0x230, "Moved"},
    {0x231, "Sized"},      {0x232, "Restored"},    {0x233, "Maximized"},  {0x234, "Iconized"},
};

constexpr Named kPrivate[] = {
    {0x2401, "QUERY_SETUSE"},    {0x2402, "QUERY_SELECTED"},  {0x2403, "QUERY_COMMAND"},
    {0x2404, "QUERY_HOTCHANGE"}, {0x2405, "QUERY_HELP"},      {0x2406, "QUERY_QUIT"},
    {0x2407, "QUERY_REPLY"},     {0x2408, "QUERY_LOSEFOCUS"}, {0x2409, "QUERY_PSCREEN"},
    {0x240A, "QUERY_PFIELD"},    {0x240C, "QUERY_COLOR"},     {0x240E, "QUERY_HSCROLL"},
    {0x2410, "QUERY_NOTIFY"},    {0x2412, "QUERY_LOCATE"},    {0x241C, "QUERY_CONTINUETHREAD"},
    {0x241D, "QUERY_EDITDONE"},
};

constexpr const char kPrefix[] = "EVENT:";

}  // namespace

std::string EventName(int code) {
  for (const Named& e : kEvents) {
    if (static_cast<int>(e.number) == code) return std::string(kPrefix) + e.name;
  }
  return std::string();
}

int EventByName(const std::string& name) {
  std::string bare = name;
  if (strncasecmp(bare.c_str(), kPrefix, sizeof kPrefix - 1) == 0) {
    bare = bare.substr(sizeof kPrefix - 1);
  }
  for (const Named& e : kEvents) {
    if (strcasecmp(bare.c_str(), e.name) == 0) return static_cast<int>(e.number);
  }
  return 0;
}

std::string PrivateMessageName(uint32_t message) {
  for (const Named& e : kPrivate) {
    if (e.number == message) return e.name;
  }
  return std::string();
}

}  // namespace carelog::window
