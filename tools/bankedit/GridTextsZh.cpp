#include "tools/bankedit/GridTextsZh.h"

#include "grid/DBGridEhTexts.h"

namespace qv::bankedit {

void UseChineseGridTexts() {
  TDBGridEhTexts &t = GridTexts();
  t.DeleteRecord = "删除这道题？";
  t.DeleteSelectedRecords = "删除选中的所有题目？";
  t.ClearSelectedCells = "清空选中单元格的内容？";
  t.InvalidTextFormat = "文本格式不对：回车符后面缺少换行符";
  t.InvalidQvtdbifFormat = "不是有效的 QVTDBIF 交换格式文件，或文件不完整";
  t.InsertValueError = "导入时有一个值无法写入：";
  t.IgnoreError = "忽略这个错误，继续导入吗？";
}

} // namespace qv::bankedit
