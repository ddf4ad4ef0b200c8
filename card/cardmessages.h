#pragma once
// CardMsg: the fixed texts of card output (纹板).

namespace CardMsg {
inline const char *const NoJacquardNeedles = "样卡中没有指定纹针,无法生成纹版";
inline const char *const AskSaveCard = "纹版文件已生成或修改！需要保存吗？";
inline const char *const Save = "保存";
inline const char *const NoValidData = "纹板中没有有效数据！";
inline const char *const OpenFile = "打开文件";
inline const char *const ShowCard = "显示纹板";
inline const char *const OpenDocument = "打开文档";
inline const char *const WriteError = "文件写入错误！";
inline const char *const ChooseFirstPart = "请选择第一个分盘文件!";
inline const char *const UnknownFormat = "无法识别此格式的文档!";
inline const char *const NeedleCountNot144 = "纹针数不等于 144 ! ";
} // namespace CardMsg
