#include "panel/MenuTree.h"

#include "core/LangText.h"
#include "panel/PageRegistry.h"
#include "widgets/WidgetRules.h"

namespace {

// In menu order: a parent's children follow it in the order shown.
const std::vector<MenuNode> kNodes = {
    {kMenuRoot, u"C0001", u"菜单", true},
    {11, u"C0002", u"登记指纹", false},
    {12, u"C0003", u"用户管理", true},
    {121, u"C0008", u"新增用户", false},
    {122, u"C0009", u"修改用户", false},
    {123, u"C0010", u"删除用户", false},
    {124, u"C0011", u"查询用户", false},
    {13, u"C0004", u"数据管理", true},
    {131, u"C0012", u"记录查询", false},
    {132, u"C0013", u"数据导入", false},
    {133, u"C0014", u"数据导出", true},
    {1331, u"C0015", u"导出用户", false},
    {1332, u"C0016", u"导出记录", false},
    {134, u"C0017", u"数据备份", false},
    {135, u"C0018", u"数据恢复", false},
    {136, u"C0038", u"升级", false},
    {14, u"C0005", u"考勤设置", true},
    {141, u"C0034", u"功能键", false},
    {142, u"C0035", u"功能切换", false},
    {143, u"C0019", u"定时响铃", false},
    {144, u"C0020", u"短消息", false},
    {15, u"C0006", u"系统设置", true},
    {151, u"C0021", u"设备设置", false},
    {152, u"C0022", u"通讯设置", false},
    {153, u"C0023", u"显示设置", false},
    {154, u"C0024", u"记录设置", false},
    {155, u"C0025", u"日期时间", false},
    {156, u"C0026", u"系统信息", false},
    {16, u"C0007", u"高级设置", true},
    {161, u"C0027", u"指纹设置", false},
    {162, u"C0028", u"照片设置", false},
    {163, u"C0029", u"验证方式", false},
    {164, u"C0030", u"门禁设置", false},
    {165, u"C0031", u"时间段", false},
    {166, u"C0032", u"门禁组", false},
};

}  // namespace

const std::vector<MenuNode>& MenuNodes() { return kNodes; }

const MenuNode* FindMenuNode(UINT id) {
    for (const MenuNode& node : kNodes)
        if (node.id == id) return &node;
    return nullptr;
}

bool IsMenuNodeShown(UINT id) {
    const MenuNode* node = FindMenuNode(id);
    if (node == nullptr) return false;
    if (id != kMenuRoot && !IsMenuNodeShown(ParentNode(id))) return false;
    return node->hasChildren || FindControlPanelPage(id) != nullptr;
}

std::vector<UINT> ShownChildren(UINT id) {
    std::vector<UINT> children;
    for (const MenuNode& node : kNodes)
        if (node.id != kMenuRoot && ParentNode(node.id) == id && IsMenuNodeShown(node.id)) children.push_back(node.id);
    return children;
}

CString MenuNodeCaption(UINT id) {
    CString text;
    if (const MenuNode* node = FindMenuNode(id)) GetLangText(u"CControlPanel", node->textKey, node->defaultText, text);
    return text;
}

CString MenuNodeIconPath(UINT id) {
    CString relative;
    relative.Format(u"ControlPanel\\ICON\\%u.PNG", id);
    return SkinPath(relative);
}
