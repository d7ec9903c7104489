#include "indexer/licence_notice.h"

#include <nlohmann/json.hpp>
#include <stdexcept>

namespace parlavo::server {

std::string DictionaryLicenceNotice(std::string_view source, std::string_view cedictHeader,
                                    std::string_view licenceJson) {
  const auto record = nlohmann::json::parse(licenceJson, nullptr, false);
  if (!record.is_object() || !record.contains("licenseText") || !record["licenseText"].is_string()) {
    throw std::runtime_error("licence record without licenseText");
  }
  std::string notice;
  notice +=
      "帕拉沃翻译服务的词典数据\n"
      "Dictionary data of the Parlavo translation service\n"
      "\n"
      "cedict.idx 由 CC-CEDICT 汉英词典改编而成（选取部分释义，重新编排为查找索引），\n"
      "与 CC-CEDICT 相同，按照“知识共享 署名-相同方式共享 4.0 国际”许可协议（CC BY-SA 4.0）发布。\n"
      "\n"
      "cedict.idx is adapted from the CC-CEDICT Chinese-English dictionary (a selection\n"
      "of its senses, rearranged into a lookup index) and, like CC-CEDICT, is licensed\n"
      "under the Creative Commons Attribution-ShareAlike 4.0 International License\n"
      "(CC BY-SA 4.0), https://creativecommons.org/licenses/by-sa/4.0/\n"
      "\n"
      "CC-CEDICT is published by MDBG, https://www.mdbg.net/chinese/dictionary?page=cc-cedict\n"
      "\n"
      "cedict.idx 还含有结巴分词（jieba）词库的词频和词性，按 MIT 许可协议使用，见 jieba-licence.txt。\n"
      "cedict.idx also carries word frequencies and parts of speech from jieba's lexicon,\n"
      "used under the MIT (Expat) licence; see jieba-licence.txt.\n"
      "\n"
      "Source of the copy of CC-CEDICT used: ";
  notice.append(source);
  notice +=
      "\n"
      "\n"
      "Header of that copy of CC-CEDICT:\n"
      "\n";
  notice.append(cedictHeader);
  notice +=
      "\n"
      "----------------------------------------------------------------------------\n"
      "\n";
  notice += record["licenseText"].get<std::string>();
  if (!notice.ends_with('\n')) notice += '\n';
  return notice;
}

}  // namespace parlavo::server
