#include "fileerror.h"

using namespace Qt::StringLiterals;

namespace kurubako {

FileError::FileError(Code code)
    : code(code)
{
    switch (code) {
    case None:
        break;
    case NoSafeRename:
        description = u"このフォルダーでは、ほかのファイルを上書きせずに名前を変えることができません。"_s;
        break;
    case BadFileName:
        description = u"ファイル名が正しくありません。"_s;
        break;
    case FileNotFound:
        description = u"ファイルが見つかりません。"_s;
        break;
    case DeviceIo:
        description = u"デバイスの入出力エラーです。"_s;
        break;
    case FileExists:
        description = u"同じ名前のファイルが既にあります。"_s;
        break;
    case DiskFull:
        description = u"ディスクの空き容量が足りません。"_s;
        break;
    case NameTooLong:
        description = u"ファイル名が長すぎます。"_s;
        break;
    case PermissionDenied:
        description = u"書き込みが許可されていません。"_s;
        break;
    case OtherDevice:
        description = u"別のドライブへは名前の変更で移せません。"_s;
        break;
    case ReadOnly:
        description = u"読み取り専用のドライブなので変更できません。"_s;
        break;
    case PathNotFound:
        description = u"おやつのフォルダーが見つかりません。"_s;
        break;
    case OtherFileAside:
        description = u"ファイルをどちらの名前にも戻せませんでした。隠しファイルとして残っています："_s;
        break;
    case Unexpected:
        description = u"予期しないエラーです。"_s;
        break;
    }
}

} // namespace kurubako
