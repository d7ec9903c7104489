#include "detection/language_names.h"

#include <algorithm>
#include <array>
#include <utility>

#include "text/ascii.h"

namespace parlavo::server {

namespace {

// The languages CLD2 detects, by the codes it gives them (its old ones, such
// as "iw" and "jw", next to today's), and the codes this service uses for
// Chinese. Sorted by code, lowercase.
constexpr std::array<std::pair<std::string_view, std::string_view>, 179> kNames{{
    {"aa", "阿法尔语"}, {"ab", "阿布哈兹语"}, {"af", "南非荷兰语"}, {"ak", "阿坎语"}, {"am", "阿姆哈拉语"}, {"ar", "阿拉伯语"},
    {"as", "阿萨姆语"}, {"ay", "艾马拉语"}, {"az", "阿塞拜疆语"}, {"ba", "巴什基尔语"}, {"be", "白俄罗斯语"}, {"bg", "保加利亚语"},
    {"bh", "比哈尔语"}, {"bi", "比斯拉马语"}, {"bn", "孟加拉语"}, {"bo", "藏语"}, {"br", "布列塔尼语"}, {"bs", "波斯尼亚语"},
    {"ca", "加泰罗尼亚语"}, {"ceb", "宿务语"}, {"chr", "切罗基语"}, {"co", "科西嘉语"}, {"crs", "塞舌尔克里奥尔语"}, {"cs", "捷克语"},
    {"cy", "威尔士语"}, {"da", "丹麦语"}, {"de", "德语"}, {"dv", "迪维希语"}, {"dz", "宗卡语"}, {"ee", "埃维语"}, {"el", "希腊语"},
    {"en", "英语"}, {"eo", "世界语"}, {"es", "西班牙语"}, {"et", "爱沙尼亚语"}, {"eu", "巴斯克语"}, {"fa", "波斯语"}, {"fi", "芬兰语"},
    {"fj", "斐济语"}, {"fo", "法罗语"}, {"fr", "法语"}, {"fy", "弗里西语"}, {"ga", "爱尔兰语"}, {"gaa", "加语"},
    {"gd", "苏格兰盖尔语"}, {"gl", "加利西亚语"}, {"gn", "瓜拉尼语"}, {"gu", "古吉拉特语"}, {"gv", "马恩岛语"}, {"ha", "豪萨语"},
    {"haw", "夏威夷语"}, {"he", "希伯来语"}, {"hi", "印地语"}, {"hmn", "苗语"}, {"hr", "克罗地亚语"}, {"ht", "海地克里奥尔语"},
    {"hu", "匈牙利语"}, {"hy", "亚美尼亚语"}, {"ia", "国际语"}, {"id", "印度尼西亚语"}, {"ie", "西方国际语"}, {"ig", "伊博语"},
    {"ik", "伊努皮克语"}, {"is", "冰岛语"}, {"it", "意大利语"}, {"iu", "因纽特语"}, {"iw", "希伯来语"}, {"ja", "日语"},
    {"jv", "爪哇语"}, {"jw", "爪哇语"}, {"ka", "格鲁吉亚语"}, {"kha", "卡西语"}, {"kk", "哈萨克语"}, {"kl", "格陵兰语"},
    {"km", "高棉语"}, {"kn", "卡纳达语"}, {"ko", "韩语"}, {"kri", "克里奥语"}, {"ks", "克什米尔语"}, {"ku", "库尔德语"},
    {"ky", "吉尔吉斯语"}, {"la", "拉丁语"}, {"lb", "卢森堡语"}, {"lg", "卢干达语"}, {"lif", "林布语"}, {"ln", "林加拉语"},
    {"lo", "老挝语"}, {"loz", "洛齐语"}, {"lt", "立陶宛语"}, {"lua", "卢巴-卢拉语"}, {"luo", "卢奥语"}, {"lv", "拉脱维亚语"},
    {"mfe", "毛里求斯克里奥尔语"}, {"mg", "马达加斯加语"}, {"mi", "毛利语"}, {"mk", "马其顿语"}, {"ml", "马拉雅拉姆语"}, {"mn", "蒙古语"},
    {"mr", "马拉地语"}, {"ms", "马来语"}, {"mt", "马耳他语"}, {"my", "缅甸语"}, {"na", "瑙鲁语"}, {"ne", "尼泊尔语"},
    {"new", "尼瓦尔语"}, {"nl", "荷兰语"}, {"nn", "新挪威语"}, {"no", "挪威语"}, {"nr", "南恩德贝莱语"}, {"nso", "北索托语"},
    {"ny", "齐切瓦语"}, {"oc", "奥克语"}, {"om", "奥罗莫语"}, {"or", "奥里亚语"}, {"os", "奥塞梯语"}, {"pa", "旁遮普语"},
    {"pam", "邦板牙语"}, {"pl", "波兰语"}, {"ps", "普什图语"}, {"pt", "葡萄牙语"}, {"qu", "克丘亚语"}, {"raj", "拉贾斯坦语"},
    {"rm", "罗曼什语"}, {"rn", "基隆迪语"}, {"ro", "罗马尼亚语"}, {"ru", "俄语"}, {"rw", "卢旺达语"}, {"sa", "梵语"},
    {"sco", "苏格兰语"}, {"sd", "信德语"}, {"sg", "桑戈语"}, {"si", "僧伽罗语"}, {"sk", "斯洛伐克语"}, {"sl", "斯洛文尼亚语"},
    {"sm", "萨摩亚语"}, {"sn", "绍纳语"}, {"so", "索马里语"}, {"sq", "阿尔巴尼亚语"}, {"sr", "塞尔维亚语"}, {"sr-me", "黑山语"},
    {"ss", "斯瓦蒂语"}, {"st", "南索托语"}, {"su", "巽他语"}, {"sv", "瑞典语"}, {"sw", "斯瓦希里语"}, {"syr", "叙利亚语"},
    {"ta", "泰米尔语"}, {"te", "泰卢固语"}, {"tg", "塔吉克语"}, {"th", "泰语"}, {"ti", "提格利尼亚语"}, {"tk", "土库曼语"},
    {"tl", "他加禄语"}, {"tlh", "克林贡语"}, {"tn", "茨瓦纳语"}, {"to", "汤加语"}, {"tr", "土耳其语"}, {"ts", "聪加语"},
    {"tt", "鞑靼语"}, {"tum", "通布卡语"}, {"tw", "契维语"}, {"ug", "维吾尔语"}, {"uk", "乌克兰语"}, {"ur", "乌尔都语"},
    {"uz", "乌兹别克语"}, {"ve", "文达语"}, {"vi", "越南语"}, {"vo", "沃拉普克语"}, {"war", "瓦瑞语"}, {"wo", "沃洛夫语"},
    {"xh", "科萨语"}, {"yi", "意第绪语"}, {"yo", "约鲁巴语"}, {"za", "壮语"}, {"zh", "中文"}, {"zh-cn", "简体中文"},
    {"zh-hant", "繁体中文"}, {"zh-tw", "繁体中文"}, {"zu", "祖鲁语"},
}};

}  // namespace

std::string LanguageForMessage(std::string_view code) {
  const std::string key = ToLowerAscii(code);
  const auto* found = std::lower_bound(kNames.begin(), kNames.end(), key,
                                       [](const auto& entry, const std::string& k) { return entry.first < k; });
  if (found == kNames.end() || found->first != key) return std::string(code);
  return std::string(found->second) + "（" + std::string(code) + "）";
}

}  // namespace parlavo::server
