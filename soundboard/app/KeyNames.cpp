#include "KeyNames.h"

namespace {

constexpr char kKeySuffix[] = "键";
constexpr unsigned kStopKey = 32;  // space

struct NamedKey {
  unsigned code;
  const char* name;
};

constexpr NamedKey kNamedKeys[] = {{16, "Shift键"},    {17, "Ctrl键"},        {18, "Alt键"},       {91, "Win键"},
                                   {3, "Break"},       {13, "回车键"},        {19, "Pause键"},     {20, "Caps Lock键"},
                                   {144, "NumLock键"}, {145, "ScrollLock键"}, {27, "Esc键"},       {32, "空格键"},
                                   {33, "PageUp键"},   {34, "PageDown键"},    {36, "Home键"},      {35, "End键"},
                                   {37, "左光标键"},   {38, "上光标键"},      {39, "右光标键"},    {40, "下光标键"},
                                   {45, "Ins键"},      {46, "Del键"},         {8, "退格键"},       {186, "分号键"},
                                   {187, "等号键"},    {188, "逗号键"},       {189, "减号键"},     {190, "圆点键"},
                                   {191, "除号键"},    {192, "反撇号键"},     {219, "左中括号键"}, {221, "右中括号键"},
                                   {220, "斜杠键"},    {222, "单引号键"},     {106, "乘号键"},     {107, "加号键"}};

}  // namespace

std::string HotkeyName(unsigned virtualKey) {
  if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) {
    return std::string(1, static_cast<char>(virtualKey)) + kKeySuffix;
  }
  if (virtualKey >= 112 && virtualKey <= 127) return "F" + std::to_string(virtualKey - 111) + kKeySuffix;
  for (const NamedKey& key : kNamedKeys) {
    if (key.code == virtualKey) return key.name;
  }
  return std::string();
}

std::vector<unsigned> PlayableKeys() {
  std::vector<unsigned> keys;
  for (unsigned code = '0'; code <= '9'; ++code) keys.push_back(code);
  for (unsigned code = 'A'; code <= 'Z'; ++code) keys.push_back(code);
  for (unsigned code = 112; code <= 127; ++code) keys.push_back(code);
  for (const NamedKey& key : kNamedKeys) {
    if (key.code != kStopKey) keys.push_back(key.code);
  }
  return keys;
}
