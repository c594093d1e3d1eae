<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>ArchiverMessage</name>
    <message>
        <source>ZIP 形式書庫</source>
        <translation>ZIP archive</translation>
    </message>
    <message>
        <source>YZ1 形式書庫</source>
        <translation>YZ1 archive</translation>
    </message>
    <message>
        <source>LHA 形式書庫</source>
        <translation>LHA archive</translation>
    </message>
    <message>
        <source>CAB 形式書庫</source>
        <translation>CAB archive</translation>
    </message>
    <message>
        <source>ARJ 形式書庫</source>
        <translation>ARJ archive</translation>
    </message>
    <message>
        <source>tar/tgz/taz/bz2 形式書庫</source>
        <translation>tar/tgz/taz/bz2 archive</translation>
    </message>
    <message>
        <source>RAR 形式書庫</source>
        <translation>RAR archive</translation>
    </message>
    <message>
        <source>BGA 形式書庫</source>
        <translation>BGA archive</translation>
    </message>
    <message>
        <source>7z 形式書庫</source>
        <translation>7z archive</translation>
    </message>
    <message>
        <source>書庫の形式を判別できません。</source>
        <translation>The archive&apos;s format cannot be recognized.</translation>
    </message>
    <message>
        <source>書庫の形式を特定できませんでした。</source>
        <translation>The archive&apos;s format could not be determined.</translation>
    </message>
    <message>
        <source>%1 を扱うには %2 が 必要です。</source>
        <translation>%2 is needed for %1s.</translation>
    </message>
    <message>
        <source>ZIP 形式書庫の解凍には UNZIP32.DLL または LMZIP32.DLL が必要です。</source>
        <translation>Extracting a ZIP archive needs UNZIP32.DLL or LMZIP32.DLL.</translation>
    </message>
    <message>
        <source>%1 に %2 のエントリが見つかりません。</source>
        <translation>%1 has no entry point %2.</translation>
    </message>
    <message>
        <source>UnZip%1 のエントリが DLL に見つかりませんでした。</source>
        <translation>The entry point UnZip%1 was not found in the DLL.</translation>
    </message>
    <message>
        <source>%1 書庫からの%2自己解凍書庫の作成には &apos;%3&apos; ファイルが必要です。</source>
        <translation>Making a %2 self-extracting archive from a %1 needs the file &apos;%3&apos;.</translation>
    </message>
    <message>
        <source>この形式では書庫ファイルの作成をサポートしておりません。</source>
        <translation>This format does not support creating archives.</translation>
    </message>
    <message>
        <source>この形式の書庫ではファイルの削除をサポートしておりません。</source>
        <translation>Archives of this format do not support deleting files.</translation>
    </message>
    <message>
        <source>この形式の書庫では書庫の更新をサポートしておりません。</source>
        <translation>Archives of this format do not support updating.</translation>
    </message>
    <message>
        <source>この形式では自己解凍書庫の作成をサポートしておりません。</source>
        <translation>This format does not support creating self-extracting archives.</translation>
    </message>
    <message>
        <source>jso オプションが設定されていません。</source>
        <translation>The jso option is not set.</translation>
    </message>
    <message>
        <source>この形式ではメモリ展開をサポートしておりません。</source>
        <translation>This format does not support extracting into memory.</translation>
    </message>
</context>
<context>
    <name>BrowserTexts</name>
    <message>
        <source>未作成サムネイル数 %1</source>
        <translation>Thumbnails to make: %1</translation>
    </message>
    <message>
        <source>読み込み中</source>
        <translation>Loading</translation>
    </message>
    <message>
        <source>ファイル情報取得中</source>
        <translation>Reading file information</translation>
    </message>
    <message>
        <source>ファイル情報ソート中</source>
        <translation>Sorting files</translation>
    </message>
    <message>
        <source>ファイル数 %1</source>
        <translation>Files: %1</translation>
    </message>
    <message>
        <source>サムネイル作成完了</source>
        <translation>All thumbnails made</translation>
    </message>
    <message>
        <source>ファイルなし</source>
        <translation>No files</translation>
    </message>
</context>
<context>
    <name>InfoTexts</name>
    <message>
        <source>圧縮ファイルのパス</source>
        <translation>Archive path</translation>
    </message>
    <message>
        <source>フルパス	(クリックでパスをコピー)</source>
        <translation>Full path	(click to copy)</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>画像ビット数</source>
        <translation>Picture bit depth</translation>
    </message>
    <message>
        <source>画像サイズ</source>
        <translation>Picture size</translation>
    </message>
    <message>
        <source>拡大縮小率</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>表示ビット数</source>
        <translation>Display bit depth</translation>
    </message>
    <message>
        <source>表示サイズ</source>
        <translation>Display size</translation>
    </message>
    <message>
        <source>読込処理</source>
        <translation>Load time</translation>
    </message>
    <message>
        <source>表示処理</source>
        <translation>Display time</translation>
    </message>
    <message>
        <source>フレーム数</source>
        <translation>Frames</translation>
    </message>
</context>
<context>
    <name>LoadFailureMessage</name>
    <message>
        <source>
（%1）</source>
        <translation>
(%1)</translation>
    </message>
    <message>
        <source>ファイルが見つからないか、読み込めません</source>
        <translation>The file is missing or cannot be read</translation>
    </message>
    <message>
        <source>画像が大きすぎます（%1）。
開ける画像の長辺は %2 ドットまでです。上限はオプションの「その他」ページで変更できます</source>
        <translation>The picture is too large (%1).
Pictures open up to %2 pixels on their longer side. The limit can be raised on the “Other” page of the options.</translation>
    </message>
    <message>
        <source>画像が大きすぎて、読み込みに使えるメモリ（%1 MB）に収まりません（%2）</source>
        <translation>The picture (%2) is too large for the memory available for loading (%1 MB)</translation>
    </message>
    <message>
        <source>ファイルの内容が拡張子と合いません。内容は %1 形式です</source>
        <translation>The file&apos;s content does not match its extension. The content is %1</translation>
    </message>
    <message>
        <source>画像データが壊れています</source>
        <translation>The picture data is damaged</translation>
    </message>
    <message>
        <source>%1 形式を読み込めるデコーダがありません</source>
        <translation>No decoder can read the %1 format</translation>
    </message>
    <message>
        <source>画像ファイルではありません</source>
        <translation>Not a picture file</translation>
    </message>
    <message>
        <source>画像を開けません
%1

%2</source>
        <translation>Cannot open the picture
%1

%2</translation>
    </message>
</context>
<context>
    <name>ProcessStage</name>
    <message>
        <source>リサイズ中</source>
        <translation>Resizing</translation>
    </message>
    <message>
        <source>カラー深度変更中</source>
        <translation>Changing color depth</translation>
    </message>
    <message>
        <source>弱ノイズ除去処理中</source>
        <translation>Removing noise</translation>
    </message>
    <message>
        <source>輝度ノーマライズ処理中</source>
        <translation>Normalizing brightness</translation>
    </message>
    <message>
        <source>シャープ処理中</source>
        <translation>Sharpening</translation>
    </message>
    <message>
        <source>輝度範囲取得中</source>
        <translation>Measuring brightness range</translation>
    </message>
    <message>
        <source>輝度調整処理中</source>
        <translation>Adjusting brightness</translation>
    </message>
    <message>
        <source>条件付平均化処理中</source>
        <translation>Conditional averaging</translation>
    </message>
</context>
<context>
    <name>SpiMessage</name>
    <message>
        <source>TSPIs は複数生成できません</source>
        <translation>Only one plug-in host can be created</translation>
    </message>
    <message>
        <source>%1:Susie Pluginがロードできませんでした</source>
        <translation>%1: the Susie plug-in could not be loaded</translation>
    </message>
    <message>
        <source>%1は[%2]では使えないSusie Plugin APIです</source>
        <translation>%1 is a Susie plug-in API that [%2] does not provide</translation>
    </message>
</context>
<context>
    <name>ThumbInfo</name>
    <message>
        <source>%1ファイル</source>
        <translation>%1 file</translation>
    </message>
</context>
<context>
    <name>ThumbPopupMenu</name>
    <message>
        <source>その他(&amp;X)</source>
        <translation>&amp;Other</translation>
    </message>
    <message>
        <source>画像以外は関連付けで開く(&amp;X)</source>
        <translation>Open Other Files in Their &amp;Default Application</translation>
    </message>
    <message>
        <source>拡張子を信用しない（内容を解析)(&amp;A)</source>
        <translation>Ignore Extensions, &amp;Analyze Contents</translation>
    </message>
    <message>
        <source>&amp;ViXのカタログファイルを読み込む</source>
        <translation>Read &amp;ViX Catalog Files</translation>
    </message>
    <message>
        <source>Vi&amp;Xのカタログファイルを最優先する</source>
        <translation>Prefer Vi&amp;X Catalog Files</translation>
    </message>
    <message>
        <source>サムネイル作成方法(&amp;M)</source>
        <translation>Thumbnail &amp;Making</translation>
    </message>
    <message>
        <source>精度重視(&amp;Q)</source>
        <translation>Best &amp;Quality</translation>
    </message>
    <message>
        <source>速度重視(&amp;S)</source>
        <translation>Best &amp;Speed</translation>
    </message>
    <message>
        <source>オプション(&amp;O)</source>
        <translation>&amp;Options...</translation>
    </message>
    <message>
        <source>ファイルマネージャで開く(&amp;E)</source>
        <translation>Open in Fil&amp;e Manager</translation>
    </message>
    <message>
        <source>ソート(&amp;S)</source>
        <translation>&amp;Sort</translation>
    </message>
    <message>
        <source>ファイル名 &amp;A→Z</source>
        <translation>Name &amp;A→Z</translation>
    </message>
    <message>
        <source>ファイル名 &amp;Z→A</source>
        <translation>Name &amp;Z→A</translation>
    </message>
    <message>
        <source>ファイル名(数字) 1→10(&amp;U)</source>
        <translation>Name, Numbers &amp;1→10</translation>
    </message>
    <message>
        <source>ファイル名(数字) 10→1(&amp;D)</source>
        <translation>Name, Numbers 1&amp;0→1</translation>
    </message>
    <message>
        <source>サイズ 小→大(&amp;S)</source>
        <translation>Size &amp;Small→Large</translation>
    </message>
    <message>
        <source>サイズ 大→小(&amp;B)</source>
        <translation>Size &amp;Large→Small</translation>
    </message>
    <message>
        <source>更新日時 旧→新(&amp;O)</source>
        <translation>Date &amp;Old→New</translation>
    </message>
    <message>
        <source>更新日時 新→旧(&amp;N)</source>
        <translation>Date &amp;New→Old</translation>
    </message>
    <message>
        <source>更新 - ファイル(&amp;F)</source>
        <translation>Refresh &amp;Files</translation>
    </message>
    <message>
        <source>更新 - ツリー(&amp;R)</source>
        <translation>&amp;Refresh Tree</translation>
    </message>
    <message>
        <source>表示 - サムネイル(&amp;T)</source>
        <translation>View &amp;Thumbnails</translation>
    </message>
    <message>
        <source>表示 - 詳細リスト(&amp;L)</source>
        <translation>View Detailed &amp;List</translation>
    </message>
    <message>
        <source>アプリケーションの終了(&amp;Q)</source>
        <translation>&amp;Quit</translation>
    </message>
</context>
<context>
    <name>ViewPopupMenu</name>
    <message>
        <source>なし(&amp;N)</source>
        <translation>&amp;None</translation>
    </message>
    <message>
        <source>ノイズ除去(&amp;C)</source>
        <translation>&amp;Noise Removal</translation>
    </message>
    <message>
        <source>明るさ調整(&amp;N)</source>
        <translation>&amp;Brightness Normalization</translation>
    </message>
    <message>
        <source>シャープ化(&amp;S)</source>
        <translation>&amp;Sharpening</translation>
    </message>
    <message>
        <source>次へ(&amp;Next)	→|↓|Spc</source>
        <translation>&amp;Next	→|↓|Spc</translation>
    </message>
    <message>
        <source>前へ(&amp;Prior)	←|↑|BkSpc</source>
        <translation>&amp;Previous	←|↑|BkSpc</translation>
    </message>
    <message>
        <source>最初へ(&amp;First)	Home</source>
        <translation>&amp;First	Home</translation>
    </message>
    <message>
        <source>最後へ(&amp;Last)	End</source>
        <translation>&amp;Last	End</translation>
    </message>
    <message>
        <source>サムネイルウィンドウ(&amp;M)</source>
        <translation>Thu&amp;mbnail Window</translation>
    </message>
    <message>
        <source>閉じる(&amp;Z)	Esc</source>
        <translation>&amp;Close	Esc</translation>
    </message>
    <message>
        <source>開きなおす(&amp;O)</source>
        <translation>Re&amp;open</translation>
    </message>
    <message>
        <source>ジャンプ(&amp;Jump)</source>
        <translation>&amp;Jump</translation>
    </message>
    <message>
        <source>拡大(&amp;U)	Num ＋</source>
        <translation>&amp;Zoom In	Num +</translation>
    </message>
    <message>
        <source>縮小(&amp;D)	Num －</source>
        <translation>Zoom O&amp;ut	Num −</translation>
    </message>
    <message>
        <source>表示 サイズ(&amp;S)</source>
        <translation>Display &amp;Size</translation>
    </message>
    <message>
        <source>オリジナルサイズ(&amp;D)	D</source>
        <translation>&amp;Original Size	D</translation>
    </message>
    <message>
        <source>画面にフィット(&amp;F)	F</source>
        <translation>&amp;Fit to Screen	F</translation>
    </message>
    <message>
        <source>拡大率を固定(&amp;R)</source>
        <translation>Fixed &amp;Rate</translation>
    </message>
    <message>
        <source>現在の率で固定(&amp;C)</source>
        <translation>Fix at &amp;Current Rate</translation>
    </message>
    <message>
        <source>長辺サイズを固定(&amp;S)</source>
        <translation>Fixed &amp;Long Side</translation>
    </message>
    <message>
        <source>現在のサイズで固定(&amp;C)</source>
        <translation>Fix at &amp;Current Size</translation>
    </message>
    <message>
        <source>長辺&amp;640</source>
        <translation>Long Side &amp;640</translation>
    </message>
    <message>
        <source>長辺&amp;320</source>
        <translation>Long Side &amp;320</translation>
    </message>
    <message>
        <source>表示 位置(&amp;L)</source>
        <translation>&amp;Window Position</translation>
    </message>
    <message>
        <source>左 (&amp;Left)	Num 7</source>
        <translation>&amp;Left	Num 7</translation>
    </message>
    <message>
        <source>中央 (&amp;Center)	Num 8</source>
        <translation>&amp;Center	Num 8</translation>
    </message>
    <message>
        <source>右 (&amp;Right)	Num 9</source>
        <translation>&amp;Right	Num 9</translation>
    </message>
    <message>
        <source>表示 カラー深度(&amp;C)</source>
        <translation>Color &amp;Depth</translation>
    </message>
    <message>
        <source>フルカラー(&amp;F)</source>
        <translation>&amp;Full Color</translation>
    </message>
    <message>
        <source>8 bit ハーフトーン(&amp;H)</source>
        <translation>8-bit &amp;Halftone</translation>
    </message>
    <message>
        <source>&amp;1 bit ハーフトーン白黒</source>
        <translation>&amp;1-bit Halftone Black and White</translation>
    </message>
    <message>
        <source>枠を表示しない(&amp;F)</source>
        <translation>Hide Window Fra&amp;me</translation>
    </message>
    <message>
        <source>縮小方法(&amp;R)</source>
        <translation>&amp;Reduction Method</translation>
    </message>
    <message>
        <source>面積平均(&amp;A)</source>
        <translation>&amp;Area Average</translation>
    </message>
    <message>
        <source>拡大方法(&amp;E)</source>
        <translation>&amp;Enlargement Method</translation>
    </message>
    <message>
        <source>面積拡大(&amp;A)</source>
        <translation>&amp;Area Weighted</translation>
    </message>
    <message>
        <source>自動処理 縮小時(&amp;1)</source>
        <translation>&amp;1 Filters When Reducing</translation>
    </message>
    <message>
        <source>縮小前(&amp;B)</source>
        <translation>&amp;Before Reducing</translation>
    </message>
    <message>
        <source>縮小後(&amp;A)</source>
        <translation>&amp;After Reducing</translation>
    </message>
    <message>
        <source>自動処理 拡大時(&amp;2)</source>
        <translation>&amp;2 Filters When Enlarging</translation>
    </message>
    <message>
        <source>拡大前(&amp;B)</source>
        <translation>&amp;Before Enlarging</translation>
    </message>
    <message>
        <source>拡大後(&amp;A)</source>
        <translation>&amp;After Enlarging</translation>
    </message>
    <message>
        <source>自動処理 等倍時(&amp;3)</source>
        <translation>&amp;3 Filters at Original Size</translation>
    </message>
    <message>
        <source>この設定をデフォルトに(&amp;X)</source>
        <translation>Sa&amp;ve as Default</translation>
    </message>
    <message>
        <source>その他(&amp;H)</source>
        <translation>Ot&amp;her</translation>
    </message>
    <message>
        <source>表示状態をクリップボードにコピー(&amp;C)</source>
        <translation>&amp;Copy Picture as Shown</translation>
    </message>
    <message>
        <source>情報(&amp;I)</source>
        <translation>&amp;Information</translation>
    </message>
    <message>
        <source>アニメーション再生(&amp;A)	P</source>
        <translation>Play &amp;Animation	P</translation>
    </message>
</context>
<context>
    <name>ravinel::AppHub</name>
    <message>
        <source>オプションウィンドウ表示中は処理できません</source>
        <translation>This cannot be done while the options window is open</translation>
    </message>
</context>
<context>
    <name>ravinel::ArchiveWindow</name>
    <message>
        <source>この圧縮形式での画像表示には非対応</source>
        <translation>Pictures in this kind of archive cannot be shown</translation>
    </message>
</context>
<context>
    <name>ravinel::BrowserStatusBar</name>
    <message>
        <source>メニュー</source>
        <translation>Menu</translation>
    </message>
</context>
<context>
    <name>ravinel::FileListView</name>
    <message>
        <source>ファイル名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>サイズ(Byte)</source>
        <translation>Size (bytes)</translation>
    </message>
    <message>
        <source>更新日時</source>
        <translation>Modified</translation>
    </message>
</context>
<context>
    <name>ravinel::OptionsWindow</name>
    <message>
        <source>パネルの色</source>
        <translation>Panel Color</translation>
    </message>
    <message>
        <source>パネル外部の色</source>
        <translation>Background Color</translation>
    </message>
    <message>
        <source>ファイル名の色</source>
        <translation>File Name Color</translation>
    </message>
    <message>
        <source>ファイル名背景色</source>
        <translation>File Name Background</translation>
    </message>
    <message>
        <source>ファイル名フォント</source>
        <translation>File Name Font</translation>
    </message>
    <message>
        <source>※Windowsが日本語Charsetを使用している場合、強制的にCharsetを日本語に変更します</source>
        <translation>The font keeps the character set stored in the settings</translation>
    </message>
    <message>
        <source>全ての色をOSの色に戻す</source>
        <translation>Reset All Colors to the System Colors</translation>
    </message>
    <message>
        <source>パネル枠を非表示</source>
        <translation>Hide panel borders</translation>
    </message>
    <message>
        <source>ファイル名を非表示</source>
        <translation>Hide file names</translation>
    </message>
    <message>
        <source>共有サムネイルを使用</source>
        <translation>Use shared thumbnails</translation>
    </message>
    <message>
        <source>他のアプリケーションと共通のサムネイル（~/.cache/thumbnails）を読み書きします</source>
        <translation>Reads and writes the thumbnails shared with other applications (~/.cache/thumbnails)</translation>
    </message>
    <message>
        <source>オリジナルサイズモード</source>
        <translation>Original size</translation>
    </message>
    <message>
        <source>画面フィットモード</source>
        <translation>Fit to screen</translation>
    </message>
    <message>
        <source>拡大率固定モード</source>
        <translation>Fixed rate</translation>
    </message>
    <message>
        <source>長辺サイズ固定モード</source>
        <translation>Fixed long side</translation>
    </message>
    <message>
        <source>表示サイズ</source>
        <translation>Display size</translation>
    </message>
    <message>
        <source>左</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>中央</source>
        <translation>Center</translation>
    </message>
    <message>
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>表示位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>フルカラー</source>
        <translation>Full color</translation>
    </message>
    <message>
        <source>8 bit ハーフトーン</source>
        <translation>8-bit halftone</translation>
    </message>
    <message>
        <source>1 bit ハーフトーン白黒</source>
        <translation>1-bit halftone black and white</translation>
    </message>
    <message>
        <source>色数</source>
        <translation>Colors</translation>
    </message>
    <message>
        <source>16ビット画面で、フルカラー時にマッハバンドを軽減</source>
        <translation>Reduce banding of full color on 16-bit screens</translation>
    </message>
    <message>
        <source>面積平均</source>
        <translation>Area average</translation>
    </message>
    <message>
        <source>縮小</source>
        <translation>Reduction</translation>
    </message>
    <message>
        <source>面積拡大</source>
        <translation>Area weighted</translation>
    </message>
    <message>
        <source>拡大</source>
        <translation>Enlargement</translation>
    </message>
    <message>
        <source>ウィンドウ枠を非表示</source>
        <translation>Hide the window frame</translation>
    </message>
    <message>
        <source>ダブルバッファリング</source>
        <translation>Double buffering</translation>
    </message>
    <message>
        <source>メモリ使用量が増えるが、ちらつきが軽減されるかも</source>
        <translation>Uses more memory, may reduce flicker</translation>
    </message>
    <message>
        <source>使用中の Susieプラグイン</source>
        <translation>Susie plug-ins in use</translation>
    </message>
    <message>
        <source>プラグイン名</source>
        <translation>Plug-in</translation>
    </message>
    <message>
        <source>対応拡張子</source>
        <translation>Extensions</translation>
    </message>
    <message>
        <source>プラグイン説明</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>プラグインのプレビュー機能をできるだけ使用</source>
        <translation>Use the plug-ins&apos; previews where possible</translation>
    </message>
    <message>
        <source>使用する Susieプラグイン</source>
        <translation>Susie plug-ins to use</translation>
    </message>
    <message>
        <source>この実行ファイルのあるフォルダのプラグイン</source>
        <translation>Plug-ins in the program&apos;s folder</translation>
    </message>
    <message>
        <source>Susie のあるフォルダのプラグイン</source>
        <translation>Plug-ins in the Susie folder</translation>
    </message>
    <message>
        <source>Susieプラグインより内蔵ローダを優先する画像の種類</source>
        <translation>Pictures read by the built-in loader before the Susie plug-ins</translation>
    </message>
    <message>
        <source>Exif の回転情報に従って画像を正しい向きで表示する</source>
        <translation>Show pictures upright as their Exif orientation says</translation>
    </message>
    <message>
        <source>画像に埋め込まれたカラープロファイルで色を合わせる</source>
        <translation>Match colors with the picture&apos;s embedded color profile</translation>
    </message>
    <message>
        <source>圧縮ファイル対応</source>
        <translation>Archives</translation>
    </message>
    <message>
        <source>圧縮ファイルを開く</source>
        <translation>Open archives</translation>
    </message>
    <message>
        <source>画像を表示したら圧縮ファイルリストウィンドウを閉じる</source>
        <translation>Close the archive window once a picture is shown</translation>
    </message>
    <message>
        <source>ViXのホームフォルダのパス</source>
        <translation>ViX home folder</translation>
    </message>
    <message>
        <source>大きな画像</source>
        <translation>Large pictures</translation>
    </message>
    <message>
        <source>画像の長辺の上限（ドット）</source>
        <translation>Longest picture side (pixels)</translation>
    </message>
    <message>
        <source>これより大きな画像は開かない。読み込みのメモリ上限は変わらない</source>
        <translation>Larger pictures do not open. The memory limit of loading stays the same</translation>
    </message>
    <message>
        <source>透明部分の背景</source>
        <translation>Background of transparent parts</translation>
    </message>
    <message>
        <source>市松模様</source>
        <translation>Checkerboard</translation>
    </message>
    <message>
        <source>単色</source>
        <translation>Single color</translation>
    </message>
    <message>
        <source>色の選択...</source>
        <translation>Choose Color...</translation>
    </message>
    <message>
        <source>ファイル名 FileName</source>
        <translation>File Name</translation>
    </message>
    <message>
        <source>パネルのサイズ : %1x%2</source>
        <translation>Panel size: %1x%2</translation>
    </message>
    <message>
        <source>サムネイルのサイズ : %1x%1</source>
        <translation>Thumbnail size: %1x%1</translation>
    </message>
    <message>
        <source>↓サムネイルの縦位置 : %1</source>
        <translation>↓Thumbnail top: %1</translation>
    </message>
    <message>
        <source>ファイル名の縦位置↑ : %1</source>
        <translation>File name top↑: %1</translation>
    </message>
    <message>
        <source>現在の倍率（パーセント） : %1</source>
        <translation>Current rate (percent): %1</translation>
    </message>
    <message>
        <source>現在のサイズ（ドット） : %1</source>
        <translation>Current size (pixels): %1</translation>
    </message>
    <message>
        <source>オプション設定</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>サムネイル1</source>
        <translation>Thumbnails 1</translation>
    </message>
    <message>
        <source>サムネイル2</source>
        <translation>Thumbnails 2</translation>
    </message>
    <message>
        <source>画像ウィンドウ</source>
        <translation>Image Window</translation>
    </message>
    <message>
        <source>その他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>バージョン</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>現在の設定倍率（パーセント） : %1</source>
        <translation>Rate set (percent): %1</translation>
    </message>
    <message>
        <source>現在の設定サイズ（ドット） : %1</source>
        <translation>Size set (pixels): %1</translation>
    </message>
    <message>
        <source>表示言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>ロケールに従う</source>
        <translation>Follow the locale</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>日本語 (Japanese)</translation>
    </message>
    <message>
        <source>次回の起動から有効になります</source>
        <translation>Takes effect at the next start</translation>
    </message>
    <message>
        <source>アニメーション画像を開いたら再生する</source>
        <translation>Play animated pictures when they open</translation>
    </message>
    <message>
        <source>表示中の画像の前後の画像をあらかじめ読み込んでおく。0 で先読みしない</source>
        <translation>Loads the pictures before and after the one shown in advance. 0 loads none ahead.</translation>
    </message>
    <message>
        <source>先読みする画像の数（前後それぞれ）</source>
        <translation>Pictures to prepare ahead (each way)</translation>
    </message>
</context>
<context>
    <name>ravinel::ShellDirTree</name>
    <message>
        <source>デスクトップ</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>コンピュータ</source>
        <translation>Computer</translation>
    </message>
    <message>
        <source>ドキュメント</source>
        <translation>Documents</translation>
    </message>
</context>
</TS>
