#!/usr/bin/env python3
"""Writes the sample dictionaries of KOVALEX Searcher into samples/.

The six KOVA dictionaries are plain Shift-JIS (code page 932) text files, one
entry per line, CR LF line ends.  This script holds the whole sample content
(all of it written for this project) and writes:

    samples/KOVA5A.TXT, samples/KOVA5B.TXT   general dictionary, 5th edition
    samples/KOVA-BIL.TXT                     bilingual phrase dictionary
    samples/KOVA略語.TXT                     abbreviations
    samples/KOVA固名.TXT                     proper nouns
    samples/KOVSEN.TXT                       technical terms
    samples/KOVA4.TXT                        general dictionary, 4th edition

Usage: python3 tools/make_samples.py [OUTPUT_DIR]   (default: samples/ of the
repository).  Standard library only; the output is deterministic.  After
writing, the script checks that every file decodes, has 300 to 600 lines and
at least one line longer than 300 bytes, and prints which dictionaries hold a
few common words.
"""

import os
import sys

# ---------------------------------------------------------------------------
# General dictionary (5th and 4th editions are formatted from the same data).
#
# A line "■word" starts an entry; flags after the word: "新" = only in the 5th
# edition (a newer word), "旧" = only in the 4th edition (a word dropped since).
# Item lines inside an entry:
#   <品詞> gloss                a sense; 品詞 is 名 形 副 自動 他動 前 接 代 間 助
#   例 English. | 日本語訳。     an example for the sense above it
#   派 word | 品詞 | gloss       a derived word (becomes its own headword)
#   句 phrase | gloss           an idiom (its own headword in the 5th edition)
#   注 text                     a usage note
# ---------------------------------------------------------------------------

GENERAL = r"""
■able
形 (～することが)できる ◆be able to do の形で用いる
例 She was able to swim across the river. | 彼女はその川を泳いで渡ることができた。
形 有能な、腕のいい
派 ability | 名 | 能力、才能、手腕
■air
名 空気、大気
例 Let's go out and get some fresh air. | 外に出て新鮮な空気を吸おう。
名 空中、空 ◆by air で「飛行機で、航空便で」
他動 (部屋などに)風を通す、(意見を)公表する
句 on the air | 放送中で
■answer
名 答え、返事、解答
他動 ～に答える、(電話・ノックに)応じる
例 Nobody answered the phone. | 誰も電話に出なかった。
派 answering machine | 名 | 留守番電話
■apple
名 リンゴ、ﾘﾝｺﾞの木
例 An apple a day keeps the doctor away. | 1日1個のリンゴで医者いらず。
句 the apple of one's eye | 目に入れても痛くないほど大切なもの[人]
■art
名 芸術、美術
名 技術、こつ、技(わざ) ◆the art of cooking 料理のこつ
派 artist | 名 | 芸術家、画家、ｱｰﾃｨｽﾄ
■back
名 背中、後ろ、裏側
副 後ろへ、元の所へ、戻って
例 I'll be back in ten minutes. | 10分で戻ります。
他動 後援する、支持する、(車を)後退させる
句 back up | 支持する;《コンピュ》(データを)バックアップする
■bank
名 銀行
例 I have to go to the bank before it closes. | 閉まる前に銀行に行かなくては。
名 土手、堤防、川岸
派 banking | 名 | 銀行業、銀行業務
■bear
他動 (重さ・費用などに)耐える、我慢する ◆過去 bore、過去分詞 borne
例 I can't bear this noise any longer. | この騒音にはもう我慢できない。
名 クマ、熊
■bird
名 鳥
例 Birds were singing in the trees. | 木々で鳥がさえずっていた。
句 kill two birds with one stone | 一石二鳥を得る
派 bird's-eye view | 名 | 鳥瞰図、全体像
■black
形 黒い、暗い
名 黒、黒色
形 (コーヒーが)ﾌﾞﾗｯｸの、ミルクを入れない
例 I take my coffee black. | コーヒーはブラックで飲みます。
■blue
形 青い
形 憂うつな、気がめいった
例 She's been feeling blue since Monday. | 彼女は月曜日から気分がふさいでいる。
句 out of the blue | 出し抜けに、思いがけなく
■board
名 板、掲示板、黒板
名 委員会、役員会、重役会
他動 (乗り物に)乗り込む
派 boarding pass | 名 | 搭乗券
■boat
名 ボート、小舟、船
句 in the same boat | 同じ境遇で、運命を共にして
■body
名 体、身体、肉体
名 (物の)本体、主要部、団体
例 Exercise is good for both body and mind. | 運動は心身の両方によい。
■book
名 本、書物、書籍 ◆a book of poems 詩集
例 I read an interesting book about cats. | 猫についての面白い本を読んだ。
名 帳簿、(切符などの)つづり
他動 予約する、(ホテル・座席を)取る
例 I booked a room for two nights. | 2泊で部屋を予約した。
派 bookstore | 名 | 本屋、書店
派 booking | 名 | 予約
注 「本」の意味では可算名詞。「読書する」は read a book、「本を書く」は write a book。電子的な本は e-book、本を数える助数詞「冊」に当たる英語はなく、two books のように数詞を直接付ける。「本で調べる」は look it up in a book、図書館の蔵書検索は library catalog search と言う。
■bread
名 パン ◆数えるときは a loaf of bread, a slice of bread
例 We had bread and butter for breakfast. | 朝食にバター付きのパンを食べた。
■break
他動 壊す、割る、折る
他動 (約束・規則を)破る
自動 壊れる、割れる
名 休憩、小休止
例 Let's take a short break. | 少し休憩しよう。
句 break the ice | (緊張をほぐして)話の口火を切る
■bridge
名 橋
名 橋渡し、仲立ち
例 The new bridge connects the island to the mainland. | 新しい橋がその島と本土を結んでいる。
■building
名 建物、ビル、建築物
名 建築、建造
例 Our office is on the fifth floor of this building. | 事務所はこのビルの5階です。
■call
他動 呼ぶ、～と名付ける
他動 (～に)電話をかける
例 Call me when you get home. | 家に着いたら電話して。
名 呼び声、電話(をかけること)、訪問
句 call off | 中止する、取りやめる
■card
名 カード、名刺、はがき
名 トランプの札
句 on the cards | ありそうな、起こりそうな
■carry
他動 運ぶ、持ち歩く、携帯する
例 She always carries an umbrella. | 彼女はいつも傘を持ち歩いている。
句 carry on | 続ける
■case
名 場合、事例、実例
名 事件、訴訟
名 箱、ケース、容器
句 in case | 万一～の場合に備えて
■cat
名 猫、ネコ、《総称》ネコ科の動物(ﾗｲｵﾝ、ﾄﾗなど)
例 The cat is sleeping on my book. | 猫が私の本の上で寝ている。
例 Our cat runs to the door when it hears the car. | うちの猫は車の音がすると戸口に走って行く。
名 《俗》やつ、男
派 catlike | 形 | 猫のような、しなやかな
派 kitten | 名 | 子猫
句 let the cat out of the bag | うっかり秘密を漏らす
句 rain cats and dogs | (雨が)土砂降りに降る
■catch
他動 捕まえる、捕らえる
他動 (列車・バスに)間に合う、(病気に)かかる
例 I caught a cold last week. | 先週風邪をひいた。
名 捕らえること、漁獲(高)、(ボールの)捕球
■change
他動 変える、取り替える
自動 変わる、着替える、乗り換える
例 Change trains at the next station. | 次の駅で乗り換えなさい。
名 変化、変更
名 つり銭、小銭
■check-in
名 (ホテルでの)宿泊手続き、(空港での)搭乗手続き、ﾁｪｯｸｲﾝ
例 Check-in starts at three o'clock. | チェックインは3時からです。
■city
名 市、都市、都会
例 Kyoto is a city of old temples. | 京都は古い寺の町だ。
■clear
形 澄んだ、晴れた、明るい
形 明らかな、はっきりした
例 The water in the lake is very clear. | 湖の水はとても澄んでいる。
他動 片付ける、取り除く
■clock
名 時計(掛け時計・置き時計) ◆腕時計は watch
句 around the clock | 24時間ぶっ通しで
■cloud
名 雲
名 《the cloud》《コンピュ》クラウド(ネット上のサーバー群)
例 Dark clouds are gathering in the west. | 西の空に暗い雲が集まってきている。
派 cloudy | 形 | 曇った
■cold
形 寒い、冷たい
名 風邪
例 Drink some hot water if you have a cold. | 風邪をひいたらお湯を飲みなさい。
■color
名 色、色彩 ◆英 colour
他動 色を塗る、彩色する
派 colorful | 形 | 色彩に富んだ、ｶﾗﾌﾙな
■cook
他動 料理する、(火を使って)調理する
名 料理人、コック
例 My father cooks dinner on Sundays. | 日曜日は父が夕食を作る。
派 cooking | 名 | 料理、料理法
■copy
名 写し、コピー、複写
名 (本の)部、冊
例 The library has two copies of this book. | 図書館にはこの本が2冊ある。
他動 写す、複写する、まねる
■cut
他動 切る、刈る、削減する
名 切り傷、削減、カット
句 cut down on | ～を減らす
■dark
形 暗い、黒っぽい
名 暗やみ
例 Cats can see in the dark. | 猫は暗やみでも目が見える。
■data
名 データ、資料 ◆datum の複数形だが単数扱いも多い
例 The data were stored on a server. | そのデータはサーバーに保存された。
■day
名 日、1日、昼間
句 day after day | 来る日も来る日も
■dog
名 犬、イヌ
例 The dog barked at the stranger. | 犬が見知らぬ人にほえた。
句 let sleeping dogs lie | 寝た子を起こすな
■door
名 戸、ドア、扉、戸口
句 next door | 隣の家に
■draw
他動 (線・絵を)描く、引く
他動 引き出す、(人を)引き付ける
名 引き分け
派 drawing | 名 | 線画、スケッチ、製図
■dream
名 夢
自動 夢を見る
例 I dreamed of flying over the sea. | 海の上を飛ぶ夢を見た。
■drink
他動 飲む
名 飲み物
例 Would you like something to drink? | 何か飲み物はいかがですか。
派 drinking water | 名 | 飲料水
■drive
他動 (車を)運転する
他動 (人を)駆り立てる、追いやる
名 ドライブ
名 《コンピュ》ドライブ、記憶装置
派 driving | 名 | 運転
■e-mail 新
名 電子メール、Eメール ◆email とも書く
他動 電子メールを送る
例 Please e-mail me the file. | そのファイルをメールで送ってください。
■early
形 早い、初期の
副 早く
例 The early bird catches the worm. | 早起きは三文の得。
■earth
名 地球 ◆通例 the Earth
名 土、地面
■egg
名 卵、鶏卵
句 put all one's eggs in one basket | 一つの事にすべてを賭ける
■evening
名 夕方、晩
例 We usually take a walk in the evening. | 私たちはたいてい夕方散歩をする。
■eye
名 目、眼
名 視力、観察力
句 keep an eye on | ～から目を離さない、見張る
■face
名 顔、顔つき
他動 ～に面する、直面する
例 Our house faces the sea. | 我が家は海に面している。
■fall
自動 落ちる、倒れる、(雨・雪が)降る
名 落下、転倒
名 《米》秋 ◆英 autumn
句 fall in love | 恋に落ちる
■feeling
名 感じ、気持ち、感情
例 I have a feeling that something good will happen. | 何かいいことが起こりそうな気がする。
■field
名 畑、野原
名 分野、領域
■fire
名 火、火事
他動 発射する、(口語)解雇する
句 catch fire | 火がつく
派 fireworks | 名 | 花火
■fish
名 魚 ◆複数形も fish
自動 釣りをする
派 fishing | 名 | 釣り、漁業
■floppy disk 旧
名 《コンピュ》ﾌﾛｯﾋﾟｰﾃﾞｨｽｸ
■flower
名 花、草花
例 She grows flowers in her garden. | 彼女は庭で花を育てている。
■fly
自動 飛ぶ、飛行機で行く
名 ハエ
派 flying | 形 | 飛ぶ、空を飛ぶ
■food
名 食物、食べ物、食品
■foot
名 足 ◆複 feet
名 フィート(長さの単位、約30.48cm)
句 on foot | 歩いて
■free
形 自由な
形 無料の、ただの
形 暇な
例 Are you free this evening? | 今晩は暇ですか。
■friend
名 友達、友人
例 A friend in need is a friend indeed. | まさかの時の友こそ真の友。
派 friendly | 形 | 親しみのある、好意的な
派 user-friendly | 形 | 使いやすい、利用者に親切な
■game
名 遊び、ゲーム、試合
■garden
名 庭、庭園
派 gardening | 名 | 園芸、庭いじり
■give
他動 与える、あげる、渡す
句 give up | あきらめる、やめる
■glass
名 ガラス
名 コップ、グラス
名 《glasses》眼鏡
例 Can I have a glass of water? | 水を1杯いただけますか。
■gold
名 金、黄金
形 金の、金色の
■green
形 緑の、青々とした
形 未熟な、未経験の
形 環境保護の
■hand
名 手
名 (時計の)針
他動 手渡す
句 hand in | 提出する
■head
名 頭、頭部
名 長、責任者
自動 (～へ)向かう
例 We headed for the station. | 私たちは駅に向かった。
■heart
名 心臓
名 心、気持ち
句 by heart | 暗記して
■help
他動 助ける、手伝う
名 助け、援助、ﾍﾙﾌﾟ
例 Can you help me with my homework? | 宿題を手伝ってくれる?
■high
形 高い
副 高く
派 high-speed | 形 | 高速の
■hold
他動 持つ、握る、抱く
他動 (会などを)開く、催す
句 hold on | (電話を切らずに)待つ
■home
名 家、家庭、故郷
副 家へ、故郷へ
派 homework | 名 | 宿題
■horse
名 馬
例 He rode a horse along the river. | 彼は川に沿って馬に乗って行った。
■house
名 家、住宅
■ice
名 氷
句 break the ice | 座を和ませる
■idea
名 考え、思いつき、ｱｲﾃﾞｱ
■iron
名 鉄
名 アイロン
他動 アイロンをかける
■island
名 島
■key
名 鍵、キー
名 (問題を解く)手がかり、秘けつ
形 重要な、主要な
例 Practice is the key to success. | 練習こそ成功の秘けつだ。
■king
名 王、国王
■kitchen
名 台所、キッチン
■know
他動 知っている、わかる
例 Do you know the way to the station? | 駅へ行く道を知っていますか。
派 well-known | 形 | よく知られた、有名な
■lake
名 湖
■land
名 陸、陸地、土地
自動 着陸する
派 landing | 名 | 着陸、(階段の)踊り場
■language
名 言語、言葉
■late
形 遅い、遅れた
副 遅く
例 Sorry I'm late. | 遅れてごめんなさい。
■leaf
名 葉 ◆複 leaves
句 turn over a new leaf | 心を入れ替える
■letter
名 手紙
名 文字
■library
名 図書館、図書室
例 You can search for books on the library's computer. | 図書館のコンピューターで本を検索できる。
■light
名 光、明かり
例 Light travels faster than sound. | 光は音より速く進む。
名 電灯、明かり、ﾗｲﾄ
例 Turn off the light when you leave the room. | 部屋を出るときは明かりを消しなさい。
形 明るい
形 軽い
例 This bag is very light. | このかばんはとても軽い。
他動 火をつける、明かりをつける ◆過去・過去分詞 lit または lighted
派 lighting | 名 | 照明
派 lightweight | 形 | 軽量の
句 in the light of | ～に照らして、～を考慮して
■line
名 線、ライン
名 列、行(ぎょう)
名 (電話の)回線、路線
■list
名 表、一覧表、名簿、ﾘｽﾄ
他動 一覧表にする、列挙する
■long-term
形 長期の、長期的な
■look
自動 見る、目を向ける
自動 ～に見える
句 look up | (辞書などで)調べる
例 Look up the word in your dictionary. | その単語を辞書で調べなさい。
句 look for | ～を探す
■machine
名 機械
派 machinery | 名 | 機械類
■make
他動 作る、こしらえる
例 My mother made a cake for my birthday. | 母が誕生日にケーキを作ってくれた。
他動 (人に)～させる
例 The movie made me cry. | その映画を見て泣いてしまった。
他動 (金を)稼ぐ、(結果として)～になる
名 型、製造元、～製
句 make up one's mind | 決心する
句 make sense | 意味をなす、道理にかなう
派 maker | 名 | 製造業者、作る人
注 make は「材料に手を加えて作る」が基本の意味で、make a cake のような具体的な物から make a decision、make a mistake、make friends のような行為や関係を表す名詞まで目的語に取る。使役の make + 人 + 原形不定詞 は「(強制的に)～させる」の意で、let や have より強い。受身では to が現れ、He was made to wait. となる。
■map
名 地図
■mark
名 印、記号、跡
他動 印を付ける、採点する
■match
名 マッチ
名 試合
他動 ～と調和する、～に匹敵する
■meaning
名 意味、意義
例 What is the meaning of this word? | この単語の意味は何ですか。
■milk
名 牛乳、ミルク
■mind
名 心、精神、知性
他動 気にする、いやがる
例 Do you mind if I open the window? | 窓を開けてもかまいませんか。
■money
名 金、金銭、通貨
例 Time is money. | 時は金なり。
■moon
名 月
句 once in a blue moon | めったに～ない
■morning
名 朝、午前
例 Good morning! | おはよう!
■mountain
名 山
■music
名 音楽
派 musician | 名 | 音楽家、ﾐｭｰｼﾞｼｬﾝ
■name
名 名前、名称
例 What's the name of this flower? | この花の名前は何ですか。
他動 名付ける、指名する
例 They named the cat Tama. | 彼らはその猫をタマと名付けた。
派 nickname | 名 | あだ名、愛称、ﾆｯｸﾈｰﾑ
■nature
名 自然、自然界
例 We should live in harmony with nature. | 私たちは自然と調和して生きるべきだ。
名 性質、本質、天性
派 natural | 形 | 自然の、当然の
■need
他動 必要とする、～する必要がある
例 You don't need to bring anything. | 何も持って来る必要はありません。
名 必要、必要性、困窮
■network
名 網状組織、ﾈｯﾄﾜｰｸ、放送網
名 《コンピュ》ネットワーク、通信網
他動 (人脈を作るために)交流する
派 networking | 名 | 人脈作り、《コンピュ》ネットワーク化
■new
形 新しい、新品の
形 初めての、不慣れな
例 I'm new here. | ここは初めてです。
■news
名 ニュース、報道、知らせ ◆単数扱い
例 No news is good news. | 便りのないのはよい便り。
派 newspaper | 名 | 新聞、新聞紙
■night
名 夜、晩
例 The stars were bright last night. | 昨夜は星が明るかった。
句 night and day | 昼も夜も、絶えず
■note
名 メモ、覚え書き、注
例 She made a note of his phone number. | 彼女は彼の電話番号を書き留めた。
名 (音楽の)音符、音
名 紙幣 ◆英 米では bill
他動 書き留める、注意する
派 notebook | 名 | ノート、帳面、ﾉｰﾄﾊﾟｿｺﾝ
■nothing
代 何も～ない
例 There is nothing in the box. | 箱には何も入っていない。
句 for nothing | ただで、無駄に
■number
名 数、数字、番号
例 What's your phone number? | あなたの電話番号は何番ですか。
他動 番号を付ける
■online 新
形 オンラインの、ネットワークに接続した
副 オンラインで
例 I bought this book online. | この本はネットで買った。
■open
形 開いた、開いている、営業中の
例 The shop is open until nine. | その店は9時まで開いている。
他動 開ける、開く
自動 開く、始まる
派 opening | 名 | 開始、開店、空き、(職の)欠員
■order
名 順序、順番
例 The words are listed in alphabetical order. | 単語はアルファベット順に並んでいる。
名 注文
名 命令、秩序
他動 注文する、命じる
句 in order to | ～するために
■page
名 ページ、頁
例 Open your books to page ten. | 本の10ページを開きなさい。
名 《コンピュ》(ウェブの)ページ
■paper
名 紙
名 新聞
名 論文、レポート
例 He wrote a paper on the history of water supply. | 彼は水道の歴史についての論文を書いた。
派 paperback | 名 | ペーパーバック、紙表紙の本
■pass
他動 通り過ぎる、手渡す
例 Could you pass me the salt? | 塩を取っていただけますか。
他動 (試験に)合格する
名 通行証、パス
句 pass away | 亡くなる
■people
名 人々 ◆複数扱い
名 国民、民族 ◆この意味では a people, peoples
■picture
名 絵、写真
例 May I take a picture here? | ここで写真を撮ってもいいですか。
名 映画
■place
名 場所、所
例 This is a nice place for a picnic. | ここはピクニックにいい場所だ。
他動 置く、配置する
句 take place | 行われる、起こる
■plant
名 植物、草木
名 工場、プラント
他動 植える
例 We planted three trees in the garden. | 庭に木を3本植えた。
■play
自動 遊ぶ
他動 (スポーツを)する、(楽器を)演奏する
例 She plays the piano very well. | 彼女はピアノがとても上手だ。
名 劇、芝居
派 player | 名 | 選手、演奏者、再生装置
派 playing card | 名 | トランプの札
■point
名 点、先端
名 要点、論点
例 That's a good point. | それはいい指摘だ。
他動 指さす
句 point of view | 観点、見地
■power
名 力、能力、権力
名 電力、動力
例 The power went out during the storm. | あらしの間に停電した。
派 powerful | 形 | 強力な
■question
名 質問、問い
例 May I ask a question? | 質問してもいいですか。
名 問題
句 out of the question | 問題外で、不可能で
■quick
形 速い、すばやい
例 She is a quick learner. | 彼女は覚えが早い。
■quiet
形 静かな、穏やかな
■rain
名 雨
自動 雨が降る
例 It has been raining since morning. | 朝から雨が降っている。
句 rain or shine | 晴雨にかかわらず、何があっても
■read
他動 読む
例 I read the newspaper every morning. | 私は毎朝新聞を読む。
自動 (～と)書いてある
例 The sign reads "No Parking." | 標識には「駐車禁止」と書いてある。
派 reading | 名 | 読書、読み物、(計器の)示度
派 reader | 名 | 読者、読本
■record
名 記録
例 She broke the world record. | 彼女は世界記録を破った。
名 レコード
他動 記録する、録音する
■right
形 正しい
形 右の
名 権利
例 Everyone has the right to vote. | 誰にでも投票する権利がある。
副 ちょうど、すぐに ◆right now 今すぐ
■ring
名 指輪、輪
他動 (ベル・鐘を)鳴らす
自動 鳴る
例 The phone is ringing. | 電話が鳴っている。
■river
名 川、河
例 The river flows into the sea. | その川は海に注いでいる。
■road
名 道路、道
例 Be careful when you cross the road. | 道路を渡るときは気をつけなさい。
■rock
名 岩
名 ロック(音楽)
■run
自動 走る、駆ける
例 The children ran to the park. | 子供たちは公園へ走って行った。
自動 (機械が)動く、(プログラムが)動作する
例 This program runs on most computers. | このプログラムはたいていのコンピューターで動く。
自動 (川が)流れる、(水が)出る
例 Don't leave the water running. | 水を出しっぱなしにしないで。
他動 経営する、運営する
例 She runs a small bookstore. | 彼女は小さな本屋を経営している。
他動 (プログラムを)実行する
名 走ること、競走
名 連続、(野球の)得点
派 running | 名 | 走ること、ﾗﾝﾆﾝｸﾞ、経営
派 runner | 名 | 走る人、走者、ﾗﾝﾅｰ
派 run-down | 形 | 荒れ果てた、疲れ切った
句 run out of | ～を使い果たす
句 in the long run | 長い目で見れば、結局は
注 run は「一定の方向に途切れずに進む」が中心の意味で、人が走る、機械やプログラムが動く、川が流れる、道が延びる、劇が続演される、店を経営する、選挙に出馬する(run for office)など多くの用法に広がる。過去形は ran、過去分詞は run。名詞 a run は「走ること」のほか、野球の得点、連続(a run of good luck)、銀行の取り付け騒ぎ(a run on the bank)も表す。
■save
他動 救う、助ける
例 The doctor saved his life. | 医者が彼の命を救った。
他動 蓄える、節約する
例 I'm saving money for a trip. | 旅行のためにお金をためている。
他動 《コンピュ》保存する
例 Don't forget to save the file. | ファイルを保存するのを忘れないで。
派 savings | 名 | 貯金、預金
■school
名 学校
例 My sister walks to school. | 妹は歩いて学校に行く。
名 (学問・芸術の)流派、学派
名 (魚の)群れ
■sea
名 海
例 We swam in the sea. | 私たちは海で泳いだ。
句 at sea | 航海中で、途方に暮れて
■search
他動 (場所を)捜す、捜索する
例 They searched the house for the key. | 彼らは鍵を求めて家中を捜した。
自動 (～を)捜し求める ◆search for で
例 Scientists are searching for water on Mars. | 科学者たちは火星で水を探している。
名 捜索、調査
名 《コンピュ》検索、ｻｰﾁ
例 A quick search of the database found three matches. | データベースを少し検索すると3件の一致が見つかった。
派 searching | 形 | 鋭い、探るような
派 searchlight | 名 | 探照灯、ｻｰﾁﾗｲﾄ
派 search engine | 名 | 《コンピュ》検索エンジン
句 in search of | ～を捜して、～を求めて
■see
他動 見る、見える
例 Can you see the mountain from here? | ここから山が見えますか。
他動 わかる、理解する
例 I see what you mean. | 言いたいことはわかります。
他動 会う
句 see off | 見送る
■set
他動 置く、据える
他動 (時計などを)合わせる、設定する
例 I set the alarm for six. | 目覚ましを6時に合わせた。
自動 (日が)沈む
例 The sun sets in the west. | 太陽は西に沈む。
名 一組、ひとそろい、セット
派 setting | 名 | 設定、環境、(小説の)舞台
派 set-up | 名 | 仕組み、配置、準備
■ship
名 船
他動 出荷する、発送する
例 The books were shipped yesterday. | 本は昨日発送された。
派 shipping | 名 | 発送、海運
■sign
名 記号、合図、標識、兆し
他動 署名する
例 Please sign here. | ここにサインしてください。
派 signature | 名 | 署名
■sleep
自動 眠る
例 The cat sleeps most of the day. | その猫は1日の大半を眠って過ごす。
名 眠り、睡眠
派 sleeping bag | 名 | 寝袋
■smartphone 新
名 スマートフォン、ｽﾏﾎ
例 He searched for the shop on his smartphone. | 彼はスマホでその店を検索した。
■snow
名 雪
自動 雪が降る
例 It snowed all night. | 一晩中雪が降った。
派 snowman | 名 | 雪だるま
■so-called
形 いわゆる、～と称する
■something
代 何か、あるもの
例 I want something cold to drink. | 何か冷たい飲み物がほしい。
■sound
名 音
例 Light is faster than sound. | 光は音より速い。
形 健全な、しっかりした
自動 ～に聞こえる
例 That sounds like a good idea. | それはいい考えのようだね。
■space
名 空間、余地、場所
名 宇宙
派 spaceship | 名 | 宇宙船
■spring
名 春
名 ばね、ぜんまい
名 泉
例 Hot water comes out of the spring. | その泉からはお湯がわき出る。
■stand
自動 立つ、立っている
他動 我慢する ◆否定文・疑問文で
名 台、売店、スタンド
派 standing | 形 | 立っている、常設の
■star
名 星
例 Stars give off their own light. | 恒星は自ら光を放つ。
名 スター、人気者
■stone
名 石
■story
名 物語、話
例 Grandmother told us a story about a clever cat. | 祖母は賢い猫の話をしてくれた。
名 (建物の)階 ◆英 storey
■string
名 ひも、糸、弦
名 《コンピュ》文字列
例 The function returns a string. | その関数は文字列を返す。
■study
他動 勉強する、研究する
名 勉強、研究
名 書斎
■sun
名 太陽、日光
例 The sun gives us light and heat. | 太陽は光と熱を与えてくれる。
派 sunlight | 名 | 日光
派 sunrise | 名 | 日の出
■table
名 テーブル、食卓
名 表、一覧表
例 See the table on page five. | 5ページの表を見よ。
■take
他動 取る、つかむ
他動 持って行く、連れて行く
他動 (時間が)かかる
例 It takes ten minutes to walk to the station. | 駅まで歩いて10分かかる。
句 take care of | ～の世話をする
句 take off | (服を)脱ぐ、(飛行機が)離陸する
■tea
名 茶、紅茶
例 Would you like a cup of tea? | 紅茶を1杯いかがですか。
■telegram 旧
名 電報
■test
名 試験、検査、テスト
他動 試験する、検査する
例 We tested the water for bacteria. | 水に細菌がいないか検査した。
■think
他動 思う、考える
例 I think it will rain tomorrow. | 明日は雨だと思う。
派 thinking | 名 | 考えること、思考
■time
名 時、時間
例 What time is it now? | 今何時ですか。
名 回、度
句 on time | 時間どおりに
■train
名 列車、電車
例 The train was late because of the snow. | 雪のために列車が遅れた。
他動 訓練する
派 training | 名 | 訓練、研修、ﾄﾚｰﾆﾝｸﾞ
■tree
名 木、樹木
名 《コンピュ》木構造、ツリー
■turn
他動 回す、曲がる
例 Turn left at the next corner. | 次の角を左に曲がりなさい。
名 順番
例 It's your turn. | 君の番だよ。
■typewriter 旧
名 タイプライター
■under
前 ～の下に
前 ～未満の、～中で ◆under construction 工事中
■up-to-date
形 最新の、最新式の
■use
他動 使う、用いる
例 May I use your phone? | 電話をお借りしてもいいですか。
名 使用、用途
派 useful | 形 | 役に立つ、有用な
派 user | 名 | 使用者、利用者、ﾕｰｻﾞｰ
■view
名 眺め、景色
例 The room has a fine view of the lake. | その部屋からは湖がよく見える。
名 意見、見解
■voice
名 声
■wait
自動 待つ
例 Wait here until I come back. | 戻るまでここで待っていなさい。
派 waiting room | 名 | 待合室
■walk
自動 歩く
名 散歩
例 Let's go for a walk. | 散歩に行こう。
派 walking | 名 | 歩くこと、歩行
■watch
他動 じっと見る、見守る
例 We watched the sun go down. | 私たちは日が沈むのを見ていた。
名 腕時計
■water
名 水
例 Water boils at 100 degrees Celsius. | 水はセ氏100度で沸騰する。
例 Could I have a glass of water, please? | 水を1杯いただけますか。
他動 (植物に)水をやる
例 Don't forget to water the flowers. | 花に水をやるのを忘れないで。
名 《waters》水域、海域
派 waterfall | 名 | 滝
派 watering can | 名 | じょうろ
派 waterproof | 形 | 防水の
句 in hot water | 困ったことになって
■wave
名 波
名 (手を)振ること
自動 手を振る
例 She waved goodbye to us. | 彼女は私たちに手を振って別れを告げた。
■way
名 道、方向
例 Could you tell me the way to the library? | 図書館への道を教えていただけますか。
名 方法、やり方
句 by the way | ところで
■wind
名 風
例 A cold wind was blowing. | 冷たい風が吹いていた。
■window
名 窓
名 《コンピュ》ｳｨﾝﾄﾞｳ
■wing
名 翼、羽
名 (建物の)翼(よく)、棟
■word
名 語、単語、言葉
例 Look up new words in the dictionary. | 新しい単語は辞書で調べなさい。
名 約束、知らせ
句 in other words | 言い換えれば
■work
自動 働く、勤める
自動 (機械が)動く、(計画が)うまくいく
例 The plan didn't work. | その計画はうまくいかなかった。
名 仕事、勤め口
名 作品、著作
■world
名 世界、世の中
■write
他動 書く
例 Write your name at the top of the page. | ページの一番上に名前を書きなさい。
派 writing | 名 | 書くこと、筆跡、著作
派 writer | 名 | 作家、筆者
■x-ray
名 エックス線、X線写真、ﾚﾝﾄｹﾞﾝ
■year
名 年、1年
例 Happy New Year! | 新年おめでとう!
■yellow
形 黄色の
■young
形 若い
■zero
名 ゼロ、零
■zone
名 地帯、区域、ゾーン
"""

# ---------------------------------------------------------------------------
# Bilingual phrase dictionary (KOVA-BIL): English and Japanese sentence pairs
# under an English keyword, and Japanese headwords with English renderings.
# Each line is written as it appears in the file, without the leading "■".
# ---------------------------------------------------------------------------

BILINGUAL = r"""
about  {句} "What about you?"  あなたはどうですか。
about  {句} "I was about to call you."  ちょうど電話しようとしていたところです。
account  {句} "I'd like to open an account."  口座を開きたいのですが。
address  {句} "Could you write down your address?"  住所を書いていただけますか。
advice  {句} "Let me give you a piece of advice."  一つ助言させてください。
afraid  {句} "I'm afraid I can't come tomorrow."  残念ですが明日は行けません。
again  {句} "Could you say that again, please?"  もう一度言っていただけますか。
agree  {句} "I couldn't agree more."  まったく同感です。
air  {句} "The air is clear after the rain."  雨の後は空気が澄んでいる。
airport  {句} "How long does it take to get to the airport?"  空港までどのくらいかかりますか。
all right  {句} "Is everything all right?"  何も問題ありませんか。
allow  {句} "Dogs are not allowed in this park."  この公園には犬を連れて入れません。
anything  {句} "Is there anything I can do for you?"  何かお手伝いできることはありますか。
appointment  {句} "I have an appointment with the dentist at three."  3時に歯医者の予約がある。
area  {句} "Is there a bookstore in this area?"  この辺りに本屋はありますか。
arrive  {句} "What time does the train arrive?"  列車は何時に着きますか。
ask  {句} "Can I ask you a favor?"  お願いがあるのですが。
bag  {句} "Let me carry your bag."  かばんをお持ちしましょう。
bath  {句} "I take a bath every night."  私は毎晩お風呂に入る。
beach  {句} "Let's walk along the beach."  浜辺を歩こう。
believe  {句} "I can't believe my eyes."  自分の目が信じられない。
better  {句} "You'd better take an umbrella."  傘を持って行ったほうがいい。
bill  {句} "Could we have the bill, please?"  お勘定をお願いします。
birthday  {句} "Happy birthday to you!"  お誕生日おめでとう!
book  {句} "I'd like to book a table for four at seven."  7時に4人で席を予約したいのですが。
book  {句} "This book is worth reading twice."  この本は2度読む価値がある。
book  {句} "Don't judge a book by its cover."  人を見かけで判断するな。《ことわざ》
book  {句} "She always has her nose in a book."  彼女はいつも本ばかり読んでいる。
book  {句} "The hotel is fully booked."  そのホテルは満室だ。
book  {句} "I'm in your good books today."  今日は君に気に入られているね。
borrow  {句} "May I borrow your pen?"  ペンをお借りしてもいいですか。
break  {句} "Let's take a ten-minute break."  10分休憩しよう。
bring  {句} "Bring your own lunch."  弁当は各自持参のこと。
brush  {句} "Brush your teeth before you go to bed."  寝る前に歯を磨きなさい。
bus  {句} "Which bus goes to the station?"  駅へ行くのはどのバスですか。
busy  {句} "I'm too busy to see a movie this week."  今週は忙しくて映画を見る暇がない。
buy  {句} "I'll buy you a drink."  一杯おごるよ。
call  {句} "I'll call you back later."  後でかけ直します。
call  {句} "Please call me Ken."  ケンと呼んでください。
careful  {句} "Be careful with that knife."  そのナイフに気をつけて。
cat  {諺} "Curiosity killed the cat."  好奇心は身を滅ぼす。
cat  {諺} "When the cat's away, the mice will play."  鬼のいぬ間に洗濯。
cat  {句} "Has the cat got your tongue?"  どうして黙っているの?
cat  {句} "She looked like the cat that ate the canary."  彼女はしてやったりという顔をしていた。
cat  {句} "Our cat likes to sleep in the sun."  うちの猫は日なたで眠るのが好きだ。
cat  {句} "There's no room to swing a cat in here."  ここは猫の額ほどの広さしかない。
cat  {句} "It's raining cats and dogs."  土砂降りだ。
catch  {句} "I didn't catch your name."  お名前を聞き取れませんでした。
chance  {句} "Give me another chance."  もう一度チャンスをください。
change  {句} "Keep the change."  おつりは取っておいてください。
change  {句} "I've changed my mind."  気が変わりました。
cheap  {句} "Do you have anything cheaper?"  もっと安いものはありますか。
check  {句} "Let me check my schedule."  予定を確認させてください。
clean  {句} "Clean up your room before dinner."  夕食の前に部屋を片付けなさい。
close  {句} "The museum is closed on Mondays."  博物館は月曜休館です。
coffee  {句} "How about a cup of coffee?"  コーヒーでもいかがですか。
cold  {句} "I think I'm catching a cold."  風邪をひきかけているみたいだ。
come  {句} "Come on in!"  さあ、入って!
cook  {句} "Too many cooks spoil the broth."  船頭多くして船山に上る。《ことわざ》
cost  {句} "How much does it cost?"  それはいくらですか。
course  {句} "Of course you can."  もちろんいいですよ。
cover  {句} "The ground was covered with snow."  地面は雪で覆われていた。
cry  {句} "It's no use crying over spilt milk."  覆水盆に返らず。《ことわざ》
cut  {句} "Cut it out!"  やめてくれ!
dark  {句} "It's getting dark outside."  外は暗くなってきた。
date  {句} "What's the date today?"  今日は何日ですか。
deal  {句} "It's a deal."  それで決まりだ。
decide  {句} "I can't decide which one to buy."  どれを買うか決められない。
dictionary  {句} "Look it up in the dictionary."  辞書で調べなさい。
dictionary  {句} "This dictionary has over fifty thousand entries."  この辞書には5万を超える見出し語がある。
difference  {句} "What's the difference between these two?"  この二つの違いは何ですか。
dinner  {句} "Dinner is ready!"  夕食ができましたよ!
direction  {句} "I have no sense of direction."  私は方向音痴だ。
do  {句} "How do you do?"  はじめまして。
doctor  {句} "You should see a doctor."  医者に診てもらったほうがいい。
dog  {句} "Every dog has its day."  誰にでも全盛期はある。《ことわざ》
door  {句} "Someone is at the door."  玄関に誰か来ている。
dream  {句} "Sweet dreams!"  おやすみなさい、いい夢を!
drink  {句} "You can lead a horse to water, but you can't make it drink."  馬を水辺に連れて行けても水を飲ませることはできない。《ことわざ》
drive  {句} "Can you drive me to the station?"  駅まで車で送ってくれますか。
easy  {句} "Take it easy."  気楽にね。
eat  {句} "Let's eat out tonight."  今夜は外食しよう。
email  {句} "I'll send you the details by email."  詳細はメールでお送りします。
end  {句} "All's well that ends well."  終わりよければすべてよし。《ことわざ》
enjoy  {句} "Enjoy your meal."  どうぞ召し上がれ。
enough  {句} "That's enough for today."  今日はここまでにしよう。
excuse  {句} "Excuse me, is this seat taken?"  すみません、この席は空いていますか。
expensive  {句} "That's too expensive for me."  それは私には高すぎる。
explain  {句} "Let me explain how it works."  仕組みを説明しましょう。
eye  {句} "Keep your eyes open."  よく気をつけていなさい。
face  {句} "Let's face it."  現実を直視しよう。
fair  {句} "That's not fair!"  それはずるいよ!
fall  {句} "Leaves fall in autumn."  秋には葉が落ちる。
far  {句} "How far is it from here?"  ここからどのくらいの距離ですか。
fault  {句} "It's not your fault."  君のせいじゃないよ。
feel  {句} "Do you feel better today?"  今日は気分がよくなりましたか。
feel  {句} "I feel like going for a walk."  散歩に行きたい気分だ。
find  {句} "I found the book I was searching for."  探していた本が見つかった。
fine  {句} "I'm fine, thank you."  元気です、ありがとう。
finish  {句} "Have you finished your homework?"  宿題は終わりましたか。
fire  {句} "There's no smoke without fire."  火のない所に煙は立たぬ。《ことわざ》
fish  {句} "There are plenty more fish in the sea."  相手はほかにいくらでもいる。
follow  {句} "Follow me, please."  私について来てください。
forget  {句} "Don't forget to lock the door."  ドアに鍵をかけるのを忘れないで。
friend  {句} "Any friend of yours is a friend of mine."  君の友達なら僕の友達だ。
full  {句} "I'm full."  おなかがいっぱいです。
fun  {句} "Have fun!"  楽しんでね!
get  {句} "How do I get to the museum?"  博物館へはどう行けばいいですか。
get  {句} "I get up at six every morning."  毎朝6時に起きる。
gift  {句} "This is a small gift for you."  ささやかな贈り物です。
give  {句} "Give it a try."  やってごらん。
glad  {句} "I'm glad to hear that."  それを聞いてうれしい。
go  {句} "How's it going?"  調子はどう?
good  {句} "Good luck on your exam!"  試験がんばってね!
guess  {句} "Guess what!"  ねえ聞いて!
hand  {句} "Could you give me a hand?"  手を貸してもらえますか。
happen  {句} "What happened?"  何があったの?
hear  {句} "I've heard a lot about you."  おうわさはかねがね伺っています。
help  {句} "Help yourself to the cake."  ケーキをご自由にどうぞ。
help  {句} "Can I help you?"  いらっしゃいませ。何かお探しですか。
hold  {句} "Hold on a moment, please."  少々お待ちください。
home  {句} "Make yourself at home."  どうぞおくつろぎください。
hope  {句} "I hope you'll get well soon."  早くよくなりますように。
hot  {句} "Strike while the iron is hot."  鉄は熱いうちに打て。《ことわざ》
hurry  {句} "Hurry up, or we'll miss the train."  急がないと電車に乗り遅れるよ。
idea  {句} "That's a great idea!"  それはすばらしい考えだ!
important  {句} "Health is more important than money."  健康はお金より大切だ。
interested  {句} "I'm interested in Japanese history."  日本の歴史に興味があります。
join  {句} "Would you like to join us?"  ご一緒しませんか。
joke  {句} "You must be joking."  冗談でしょう。
keep  {句} "Keep in touch."  連絡を取り合おうね。
key  {句} "I've lost my key."  鍵をなくしてしまった。
kind  {句} "It's very kind of you."  ご親切にどうもありがとう。
know  {句} "As far as I know, he's still in London."  私の知る限り、彼はまだロンドンにいる。
late  {句} "Better late than never."  遅くてもしないよりはまし。《ことわざ》
laugh  {句} "He who laughs last laughs best."  最後に笑う者が最もよく笑う。《ことわざ》
leave  {句} "Leave me alone."  ほうっておいて。
left  {句} "Turn left at the second light."  2つ目の信号を左に曲がってください。
lend  {句} "Could you lend me your dictionary?"  辞書を貸してくれますか。
light  {句} "Many hands make light work."  人手が多ければ仕事は楽になる。《ことわざ》
light  {句} "Turn on the light, please."  明かりをつけてください。
light  {句} "Do you have a light?"  火を貸していただけますか。
light  {句} "Go straight until you come to a traffic light."  信号に出るまでまっすぐ行ってください。
light  {句} "The room was full of morning light."  部屋は朝の光で満ちていた。
light  {句} "I'd like something light for lunch."  昼は何か軽いものが食べたい。
light  {句} "She travels light."  彼女は身軽に旅をする。
light  {句} "At last we can see the light at the end of the tunnel."  やっと前途に光が見えてきた。
like  {句} "What would you like to drink?"  飲み物は何になさいますか。
listen  {句} "Listen carefully."  よく聞きなさい。
live  {句} "Where do you live?"  どこに住んでいますか。
long  {句} "Long time no see."  久しぶり。
look  {句} "Look before you leap."  転ばぬ先のつえ。《ことわざ》
look  {句} "I'm looking forward to seeing you."  お会いするのを楽しみにしています。
lose  {句} "We have nothing to lose."  失うものは何もない。
love  {句} "I'd love to."  喜んで。
luck  {句} "Better luck next time."  次はうまくいくよ。
make  {句} "Make yourself comfortable."  どうぞ楽にしてください。
make  {句} "I can't make it tomorrow."  明日は都合がつきません。
make  {句} "Practice makes perfect."  習うより慣れろ。《ことわざ》
make  {句} "Let's make a deal."  取引しよう。
make  {句} "That makes sense."  なるほど、それで納得がいく。
make  {句} "Make hay while the sun shines."  好機を逃すな。《ことわざ》
make  {句} "What do you make of this?"  これをどう思いますか。
make  {句} "She made a cup of tea for me."  彼女は私に紅茶をいれてくれた。
matter  {句} "What's the matter?"  どうしたの?
mean  {句} "What do you mean by that?"  それはどういう意味ですか。
meet  {句} "Nice to meet you."  はじめまして、よろしく。
mind  {句} "Never mind."  気にしないで。
minute  {句} "Wait a minute."  ちょっと待って。
miss  {句} "I'll miss you."  寂しくなるね。
mistake  {句} "Sorry, my mistake."  すみません、私の間違いです。
money  {句} "Money doesn't grow on trees."  金のなる木はない。
more  {句} "The more, the merrier."  人数が多いほど楽しい。
move  {句} "Don't move!"  動くな!
need  {句} "A friend in need is a friend indeed."  まさかの時の友こそ真の友。《ことわざ》
never  {句} "Never give up."  決してあきらめるな。
news  {句} "I have good news for you."  いい知らせがあります。
next  {句} "Who's next?"  次はどなたですか。
nice  {句} "Have a nice day."  よい1日を。
nothing  {句} "Nothing ventured, nothing gained."  虎穴に入らずんば虎子を得ず。《ことわざ》
open  {句} "What time do you open?"  何時に開店しますか。
order  {句} "Are you ready to order?"  ご注文はお決まりですか。
pain  {句} "No pain, no gain."  苦労なくして得るものなし。《ことわざ》
pardon  {句} "Pardon me?"  もう一度おっしゃってください。
pay  {句} "Can I pay by card?"  カードで払えますか。
pleasure  {句} "It's my pleasure."  どういたしまして。
point  {句} "What's the point of doing that?"  そんなことをして何になるの?
problem  {句} "No problem."  問題ありません、いいですよ。
promise  {句} "I promise I'll be there."  きっと行くと約束します。
question  {句} "That's a good question."  いい質問ですね。
rain  {句} "It looks like rain."  雨になりそうだ。
read  {句} "I read it in a book."  それは本で読んだ。
ready  {句} "Are you ready?"  準備はいい?
remember  {句} "Remember to call your mother."  お母さんに電話するのを忘れずに。
right  {句} "You're right."  その通りです。
road  {句} "All roads lead to Rome."  すべての道はローマに通ず。《ことわざ》
room  {句} "Is there room for one more?"  もう一人入れますか。
run  {句} "I have to run."  もう行かなくちゃ。
run  {句} "We've run out of milk."  牛乳を切らしてしまった。
run  {句} "Still waters run deep."  静かな川は深い。《ことわざ》
run  {句} "The bus runs every ten minutes."  バスは10分おきに出ている。
run  {句} "Your nose is running."  鼻水が出ているよ。
run  {句} "He runs five kilometers every morning."  彼は毎朝5キロ走る。
run  {句} "The program ran without errors."  プログラムはエラーなしで動いた。
run  {句} "Cancer runs in his family."  彼の家系にはがんの人が多い。
same  {句} "Same to you."  あなたもね。
say  {句} "Easier said than done."  言うは易く行うは難し。《ことわざ》
search  {句} "I searched everywhere for my glasses."  眼鏡をあちこち捜した。
search  {句} "Search me."  さあね、知らないよ。
search  {句} "Try searching the web for the error message."  そのエラーメッセージをウェブで検索してごらん。
search  {句} "The police searched the building."  警察はその建物を捜索した。
search  {句} "The search turned up nothing."  捜索しても何も出てこなかった。
search  {句} "Type a word in the box and press Enter to search."  ボックスに語を入力してEnterを押すと検索します。
search  {句} "Search results are shown below."  検索結果は下に表示されます。
see  {句} "See you later."  また後でね。
seat  {句} "Please have a seat."  どうぞおかけください。
sense  {句} "She has a good sense of humor."  彼女はユーモアのセンスがある。
shame  {句} "What a shame!"  それは残念!
show  {句} "Could you show me the way?"  道を教えていただけますか。
sick  {句} "I'm sick of this weather."  この天気にはうんざりだ。
sleep  {句} "Did you sleep well?"  よく眠れましたか。
slow  {句} "Slow and steady wins the race."  急がば回れ。《ことわざ》
sorry  {句} "I'm sorry to keep you waiting."  お待たせしてすみません。
speak  {句} "Could you speak more slowly?"  もっとゆっくり話していただけますか。
stay  {句} "How long will you stay in Japan?"  日本にはどのくらい滞在しますか。
stop  {句} "Stop it!"  やめて!
sure  {句} "Sure, go ahead."  もちろん、どうぞ。
surprise  {句} "What a surprise!"  びっくりした!
take  {句} "Take care."  気をつけてね。
take  {句} "I'll take it."  それにします、それを買います。
talk  {句} "Let's talk about it later."  その件は後で話そう。
taste  {句} "There's no accounting for tastes."  たで食う虫も好き好き。《ことわざ》
tell  {句} "To tell the truth, I forgot."  実を言うと忘れていました。
thank  {句} "Thanks a lot."  どうもありがとう。
think  {句} "Let me think it over."  よく考えさせてください。
time  {句} "Time flies."  光陰矢のごとし。《ことわざ》
time  {句} "Take your time."  ごゆっくりどうぞ。
tired  {句} "You look tired."  疲れているみたいだね。
today  {句} "Never put off till tomorrow what you can do today."  今日できることを明日に延ばすな。《ことわざ》
trouble  {句} "Sorry to trouble you."  お手数をおかけしてすみません。
true  {句} "My dream came true."  夢がかなった。
try  {句} "Let me try again."  もう一度やらせてください。
turn  {句} "Whose turn is it?"  誰の番?
understand  {句} "I don't understand what you mean."  おっしゃる意味がわかりません。
use  {句} "It's no use complaining."  文句を言っても無駄だ。
wait  {句} "I can't wait!"  待ちきれないよ!
walk  {句} "It's a five-minute walk from here."  ここから歩いて5分です。
want  {句} "Where there's a will, there's a way."  精神一到何事か成らざらん。《ことわざ》
warm  {句} "Keep yourself warm."  暖かくしていてね。
water  {句} "Water, please."  水をください。
water  {句} "Blood is thicker than water."  血は水よりも濃い。《ことわざ》
water  {句} "Don't throw the baby out with the bath water."  不要なものと一緒に大切なものまで捨てるな。
water  {句} "Still water runs deep."  音なし川は水深し。《ことわざ》
water  {句} "That's water under the bridge."  それはもう過ぎたことだ。
water  {句} "Is the tap water safe to drink?"  水道の水は飲んでも大丈夫ですか。
water  {句} "My mouth is watering."  よだれが出そうだ。
water  {句} "His story doesn't hold water."  彼の話はつじつまが合わない。
way  {句} "No way!"  とんでもない、まさか!
weather  {句} "What's the weather like today?"  今日の天気はどうですか。
welcome  {句} "You're welcome."  どういたしまして。
well  {句} "Well done!"  よくやった!
wish  {句} "I wish you all the best."  ご多幸をお祈りします。
word  {句} "Actions speak louder than words."  言葉より行動が大事。《ことわざ》
work  {句} "All work and no play makes Jack a dull boy."  よく学びよく遊べ。《ことわざ》
work  {句} "It works!"  うまくいった、動いた!
worry  {句} "Don't worry about it."  心配しないで。
wrong  {句} "What's wrong?"  どうかしたの?
year  {句} "See you next year."  また来年。
猫【ねこ】  {名} cat ◇"猫を2匹飼っています。" I have two cats.
猫【ねこ】  {成句} 猫に小判  casting pearls before swine ◆価値のわからない者に貴重な物を与えても無駄なこと
猫【ねこ】  {成句} 猫の手も借りたい  be so busy that one would welcome any help
猫【ねこ】  {成句} 猫をかぶる  pretend to be meek; play the innocent
猫【ねこ】  {成句} 猫の額ほどの  tiny (of a piece of land)
猫舌【ねこじた】  {名} being unable to eat or drink anything hot ◇"私は猫舌です。" I can't take hot food.
子猫【こねこ】  {名} kitten; kitty
犬【いぬ】  {名} dog ◇"犬も歩けば棒に当たる。" Even a dog that wanders about will run into a stick.
本【ほん】  {名} book ◇"この本を貸してください。" Please lend me this book.
本【ほん】  {助数} (細長い物を数える語) ◇"鉛筆3本" three pencils
本屋【ほんや】  {名} bookstore; bookshop
本棚【ほんだな】  {名} bookshelf; bookcase
本当【ほんとう】  {名・形動} truth; real ◇"本当ですか。" Really?
本物【ほんもの】  {名} the real thing; genuine article
絵本【えほん】  {名} picture book
日本【にほん】  {名} Japan ◇"日本へようこそ。" Welcome to Japan.
水【みず】  {名} water; cold water ◇"水を1杯ください。" A glass of water, please.
水【みず】  {成句} 水に流す  let bygones be bygones; forgive and forget
水【みず】  {成句} 水の泡になる  come to nothing; go down the drain
水【みず】  {成句} 水を差す  throw cold water on
水道【すいどう】  {名} water supply; tap water
水泳【すいえい】  {名} swimming ◇"水泳は全身の運動になる。" Swimming works the whole body.
水曜日【すいようび】  {名} Wednesday
水着【みずぎ】  {名} swimsuit; swimming costume
水族館【すいぞくかん】  {名} aquarium
香水【こうすい】  {名} perfume
光【ひかり】  {名} light; ray; beam ◇"光は1秒に約30万キロ進む。" Light travels about 300,000 km per second.
光【ひかり】  {名} hope ◇"希望の光が見えてきた。" We began to see a ray of hope.
光る【ひかる】  {自動} shine; glitter; flash ◇"光るものすべて金ならず。" All that glitters is not gold.
光景【こうけい】  {名} sight; scene; spectacle
日光【にっこう】  {名} sunlight; sunshine
観光【かんこう】  {名} sightseeing; tourism ◇"観光で来ました。" I'm here for sightseeing.
月光【げっこう】  {名} moonlight
検索【けんさく】  {名} search; retrieval; lookup ◇"ネットで検索する" search the Internet
検索【けんさく】  {他サ} search (for); look up ◇"辞書で単語を検索する" look up a word in a dictionary
検索【けんさく】  {複合} 全文検索  full-text search
検索【けんさく】  {複合} 検索語  search term; keyword; query
検索【けんさく】  {複合} 検索結果  search results ◇"検索結果は100件です。" The search returned 100 results.
検索【けんさく】  {複合} あいまい検索  fuzzy search
検索【けんさく】  {複合} 単語検索  whole-word search; word search
検索【けんさく】  {解説} 「検索」は英語では文脈により search, retrieval, lookup などと訳し分ける。ウェブで調べる場合は search the web、辞書で語を引く場合は look up a word in a dictionary、データベースから記録を取り出す場合は retrieve records from a database と言うのが自然で、「検索する」をいつも search と訳すと不自然になることがある。
検査【けんさ】  {名} inspection; examination; test
捜す【さがす】  {他動} search for; look for ◇"鍵を捜しています。" I'm looking for my key.
調べる【しらべる】  {他動} look into; check; look up ◇"辞書で調べる" look up in a dictionary
走る【はしる】  {自動} run ◇"駅まで走った。" I ran to the station.
走る【はしる】  {自動} (車・列車が) run; go ◇"この電車は1時間に4本走っている。" This line runs four trains an hour.
作る【つくる】  {他動} make; build; create ◇"母はパンを作るのが上手だ。" My mother is good at making bread.
作る【つくる】  {他動} (料理を) cook; prepare
作る【つくる】  {他動} (規則・組織を) form; set up
明るい【あかるい】  {形} light; bright ◇"この部屋は明るい。" This room is bright.
明るい【あかるい】  {形} cheerful ◇"彼女は明るい性格だ。" She has a cheerful personality.
軽い【かるい】  {形} light; not heavy ◇"このかばんは軽い。" This bag is light.
軽い【かるい】  {形} slight; minor ◇"軽いけが" a minor injury
電気【でんき】  {名} electricity; (電灯) light ◇"電気を消してください。" Please turn off the light.
辞書【じしょ】  {名} dictionary ◇"辞書を引く" consult a dictionary; look up a word
辞書【じしょ】  {複合} 英和辞書  English-Japanese dictionary
辞書【じしょ】  {複合} 和英辞書  Japanese-English dictionary
言葉【ことば】  {名} word; language; speech
単語【たんご】  {名} word; vocabulary item
意味【いみ】  {名} meaning; sense ◇"この言葉はどういう意味ですか。" What does this word mean?
読む【よむ】  {他動} read ◇"本を読むのが好きです。" I like reading books.
書く【かく】  {他動} write ◇"手紙を書く" write a letter
図書館【としょかん】  {名} library
学校【がっこう】  {名} school
先生【せんせい】  {名} teacher; doctor; master
友達【ともだち】  {名} friend ◇"彼とは友達です。" He and I are friends.
家族【かぞく】  {名} family
天気【てんき】  {名} weather ◇"今日はいい天気ですね。" Nice weather today, isn't it?
雨【あめ】  {名} rain ◇"雨が降りそうだ。" It looks like rain.
雪【ゆき】  {名} snow
海【うみ】  {名} sea; ocean
川【かわ】  {名} river; stream
山【やま】  {名} mountain; hill; (多量) heap
空【そら】  {名} sky
星【ほし】  {名} star
月【つき】  {名} moon; month
太陽【たいよう】  {名} the sun
花【はな】  {名} flower; blossom
木【き】  {名} tree; wood
火【ひ】  {名} fire; flame
時間【じかん】  {名} time; hour ◇"時間がありません。" I don't have time.
お金【おかね】  {名} money
仕事【しごと】  {名} work; job; business
電話【でんわ】  {名} telephone; phone call ◇"後で電話します。" I'll call you later.
写真【しゃしん】  {名} photograph; picture
音楽【おんがく】  {名} music
料理【りょうり】  {名} cooking; dish; cuisine
食べる【たべる】  {他動} eat
飲む【のむ】  {他動} drink; (薬を) take ◇"水を飲む" drink water
見る【みる】  {他動} see; look at; watch
聞く【きく】  {他動} hear; listen to; ask
話す【はなす】  {他動} speak; talk; tell
歩く【あるく】  {自動} walk
待つ【まつ】  {他動} wait (for)
始める【はじめる】  {他動} begin; start
終わる【おわる】  {自動} end; finish; be over
開ける【あける】  {他動} open
閉める【しめる】  {他動} shut; close
ソフト  {名} software; program ◇"ソフトをインストールする" install software
パソコン  {名} personal computer; PC
メール  {名} e-mail; mail ◇"メールアドレスは何ですか。" What's your e-mail address?
ｷｰﾎﾞｰﾄﾞ  {名} keyboard
ﾃﾞｰﾀ  {名} data
ﾗｲﾄ  {名} light; lamp
ﾌﾞｯｸ  {名} book (主に複合語で) ◇"ガイドブック" guidebook
ﾗﾝﾆﾝｸﾞ  {名} running; jogging
ｻｰﾁ  {名} search ◇"サーチエンジン" search engine
"""

# ---------------------------------------------------------------------------
# Abbreviations (KOVA略語): "abbreviation | expansion | Japanese".
# Written as "■ABBR  {略} expansion  訳"; a repeated abbreviation gets
# numbered senses {略-1}, {略-2}.
# ---------------------------------------------------------------------------

ABBREVIATIONS = r"""
@ | at; at the rate of | 単価～で;《コンピュ》電子メールアドレスの区切り記号 ◆アットマークとも呼ぶ。例 apples @ 50 yen リンゴ1個50円
a.k.a. | also known as | 別名、またの名を
a.m. | ante meridiem | 午前 ◆ラテン語から
AC | alternating current | 交流
AC | air conditioning | 空調、冷暖房
ACK | acknowledgment | 《通信》肯定応答
AD | anno Domini | 西暦、紀元(後)
ADSL | asymmetric digital subscriber line | 非対称デジタル加入者線
AES | Advanced Encryption Standard | 《コンピュ》AES暗号
AGM | annual general meeting | 年次総会
AI | artificial intelligence | 人工知能
AIDS | acquired immune deficiency syndrome | エイズ、後天性免疫不全症候群
ALT | assistant language teacher | 外国語指導助手
AM | amplitude modulation | 振幅変調、AM放送
API | application programming interface | 《コンピュ》アプリケーション・プログラミング・インターフェース
approx. | approximately | およそ、約
Apr. | April | 4月
APR | annual percentage rate | 年率、実質年利
AR | augmented reality | 拡張現実
ASAP | as soon as possible | できるだけ早く、至急
ASCII | American Standard Code for Information Interchange | 《コンピュ》アスキー、米国情報交換用標準コード ◆7ビットの文字コード
ATC | air traffic control | 航空交通管制
ATM | automated teller machine | 現金自動預け払い機
atm | atmosphere | 気圧(圧力の単位)
ATP | adenosine triphosphate | 《生化学》アデノシン三リン酸
Aug. | August | 8月
Ave. | avenue | 大通り、～街
B2B | business to business | 企業間取引
B2C | business to consumer | 企業対消費者取引
BA | Bachelor of Arts | 文学士
BASIC | Beginner's All-purpose Symbolic Instruction Code | 《コンピュ》ベーシック(プログラミング言語)
BBQ | barbecue | バーベキュー
BC | before Christ | 紀元前
BCC | blind carbon copy | 《メール》ﾌﾞﾗｲﾝﾄﾞ・ｶｰﾎﾞﾝ・ｺﾋﾟｰ、受信者に見えない同報
BIOS | basic input/output system | 《コンピュ》バイオス、基本入出力システム
bk. | book | 本、書物、巻 ◆複 bks.
BMI | body mass index | 体格指数
BOM | byte order mark | 《コンピュ》バイト順マーク
bps | bits per second | ビット毎秒(通信速度の単位)
BTW | by the way | ところで ◆メールやチャットで
C | Celsius; centigrade | セ氏、摂氏 ◆水の凝固点を0度、沸点を100度とする
CAD | computer-aided design | コンピューター支援設計
CAM | computer-aided manufacturing | コンピューター支援製造
CAPTCHA | Completely Automated Public Turing test to tell Computers and Humans Apart | キャプチャ(人間か機械かを判別する試験)
CAT | computerized axial tomography | コンピューター体軸断層撮影 ◆CAT scan とも。猫(cat)とは無関係
CAT | clear-air turbulence | 晴天乱気流
cat. | catalog(ue) | カタログ、目録
CC | carbon copy | 《メール》カーボン・コピー、同報
cc | cubic centimeter | 立方センチメートル
CD | compact disc | コンパクトディスク
CD | certificate of deposit | 譲渡性預金
CEO | chief executive officer | 最高経営責任者
cf. | confer | 参照せよ、比較せよ ◆ラテン語から
CFO | chief financial officer | 最高財務責任者
CG | computer graphics | コンピューターグラフィックス
CIF | cost, insurance and freight | 運賃保険料込み条件
CLI | command-line interface | 《コンピュ》コマンドライン・インターフェース
cm | centimeter | センチメートル
Co. | company | 会社
c/o | care of | ～方、～気付
CO2 | carbon dioxide | 二酸化炭素
COD | cash on delivery | 代金引換
COO | chief operating officer | 最高執行責任者
Corp. | corporation | 株式会社、法人
CPU | central processing unit | 《コンピュ》中央処理装置、ｼｰﾋﾟｰﾕｰ ◆プログラムを実行(run)する中心部品
CR | carriage return | 《コンピュ》復帰(文字コード13)
CRLF | carriage return and line feed | 《コンピュ》復帰改行 ◆テキストファイルの行末の一方式
CSV | comma-separated values | 《コンピュ》コンマ区切り形式
CT | computed tomography | コンピューター断層撮影
CTO | chief technology officer | 最高技術責任者
CV | curriculum vitae | 履歴書
D | dimension | 次元 ◆3D 三次元
DB | database | 《コンピュ》データベース
DBMS | database management system | 《コンピュ》データベース管理システム
DC | direct current | 直流
DDoS | distributed denial of service | 《コンピュ》分散型サービス妨害(攻撃)
Dec. | December | 12月
dept. | department | 部、課、学科
DHCP | Dynamic Host Configuration Protocol | 《通信》DHCP
DIY | do-it-yourself | 日曜大工、自分で作ること ◆make it yourself の精神
DJ | disc jockey | ディスクジョッキー
DNA | deoxyribonucleic acid | デオキシリボ核酸
DNS | Domain Name System | 《通信》ドメインネームシステム
doc. | document | 文書、書類
dpi | dots per inch | 1インチ当たりのドット数
Dr. | doctor | 博士、医師 ◆敬称
DST | daylight saving time | 夏時間
DTP | desktop publishing | デスクトップ出版
DVD | digital versatile disc | ディーブイディー
e-book | electronic book | 電子書籍、電子本
e.g. | exempli gratia | 例えば ◆ラテン語から、for example の意
EC | electronic commerce | 電子商取引
ECG | electrocardiogram | 心電図
ed. | edition; editor | 版; 編者 ◆複 eds.
EFL | English as a foreign language | 外国語としての英語
EOF | end of file | 《コンピュ》ファイルの終わり
ESL | English as a second language | 第二言語としての英語
est. | established; estimated | 創立; 推定の
ETA | estimated time of arrival | 到着予定時刻
etc. | et cetera | ～など、その他 ◆ラテン語から
ETD | estimated time of departure | 出発予定時刻
EU | European Union | 欧州連合
EUC | Extended Unix Code | 《コンピュ》拡張UNIXコード ◆日本語文字コードの一方式
EV | electric vehicle | 電気自動車
F | Fahrenheit | カ氏、華氏
FAQ | frequently asked questions | よくある質問(と答え)
fax | facsimile | ファクシミリ、ﾌｧｯｸｽ
FB | feedback | フィードバック
Feb. | February | 2月
fig. | figure | 図
FM | frequency modulation | 周波数変調、FM放送
FOB | free on board | 本船渡し条件
Fri. | Friday | 金曜日
ft | foot; feet | フィート
FTP | File Transfer Protocol | 《通信》ファイル転送プロトコル
FY | fiscal year | 会計年度
FYI | for your information | ご参考までに
g | gram | グラム
GB | gigabyte | ギガバイト
GDP | gross domestic product | 国内総生産
GIF | Graphics Interchange Format | 《コンピュ》GIF画像形式
GM | genetically modified | 遺伝子組み換えの
GMT | Greenwich Mean Time | グリニッジ標準時
GNP | gross national product | 国民総生産
govt. | government | 政府
GPA | grade point average | 成績平均点
GPS | Global Positioning System | 全地球測位システム
GPU | graphics processing unit | 《コンピュ》画像処理装置
GUI | graphical user interface | 《コンピュ》グラフィカル・ユーザー・インターフェース
h | hour | 時間
H2O | water | 水の化学式 ◆水素原子2個と酸素原子1個
HDD | hard disk drive | 《コンピュ》ハードディスクドライブ
HIV | human immunodeficiency virus | ヒト免疫不全ウイルス
HQ | headquarters | 本部、本社
HR | human resources | 人事(部)
HTML | HyperText Markup Language | 《コンピュ》HTML(ウェブページ記述言語)
HTTP | Hypertext Transfer Protocol | 《通信》HTTP
HTTPS | Hypertext Transfer Protocol Secure | 《通信》暗号化されたHTTP
HV | hybrid vehicle | ハイブリッド車
Hz | hertz | ヘルツ(周波数の単位)
i.e. | id est | すなわち、つまり ◆ラテン語から、that is の意
ID | identification | 身分証明(書)、識別子
IDE | integrated development environment | 《コンピュ》統合開発環境
IMAP | Internet Message Access Protocol | 《通信》IMAP(メール受信方式)
IMF | International Monetary Fund | 国際通貨基金
in. | inch | インチ
Inc. | incorporated | 株式会社、法人組織の
IOC | International Olympic Committee | 国際オリンピック委員会
IoT | Internet of Things | モノのインターネット
IP | Internet Protocol | 《通信》インターネット・プロトコル
IP | intellectual property | 知的財産
IPO | initial public offering | 新規株式公開
IQ | intelligence quotient | 知能指数
IR | infrared | 赤外線(の) ◆目に見えない光
ISBN | International Standard Book Number | 国際標準図書番号 ◆本1冊ごとに付く識別番号
ISP | Internet service provider | インターネット接続業者、ﾌﾟﾛﾊﾞｲﾀﾞ
IT | information technology | 情報技術
Jan. | January | 1月
JIS | Japanese Industrial Standards | 日本産業規格 ◆JIS漢字コードなど
JPEG | Joint Photographic Experts Group | 《コンピュ》JPEG画像形式
JSON | JavaScript Object Notation | 《コンピュ》JSON(データ記述形式)
Jul. | July | 7月
Jun. | June | 6月
Jr. | junior | 2世、息子の方
KB | kilobyte | キロバイト
kg | kilogram | キログラム
km | kilometer | キロメートル
km/h | kilometers per hour | 時速～キロ
KPI | key performance indicator | 重要業績評価指標
kWh | kilowatt-hour | キロワット時
l | liter | リットル
LAN | local area network | 《通信》構内ネットワーク、ﾗﾝ
laser | light amplification by stimulated emission of radiation | レーザー ◆誘導放出による光増幅
lb | pound | ポンド(重さの単位) ◆ラテン語 libra から、複 lbs
LCD | liquid crystal display | 液晶ディスプレー
LED | light-emitting diode | 発光ダイオード ◆電流を流すと光る半導体
LF | line feed | 《コンピュ》改行(文字コード10)
lidar | light detection and ranging | ライダー、光による距離測定
LLC | limited liability company | 有限責任会社
Ltd. | limited | 有限責任の、株式会社 ◆英
M&A | mergers and acquisitions | 企業の合併・買収
MA | Master of Arts | 文学修士
MAC | media access control | 《通信》媒体アクセス制御 ◆MACアドレス
Mar. | March | 3月
max. | maximum | 最大(限)
MB | megabyte | メガバイト
MBA | Master of Business Administration | 経営学修士
MC | master of ceremonies | 司会者
MD | Doctor of Medicine | 医学博士
mfg. | manufacturing | 製造
mfr. | manufacturer | 製造業者、メーカー ◆make(製品を作る)する会社
mg | milligram | ミリグラム
min. | minimum; minute | 最小(限); 分
MIME | Multipurpose Internet Mail Extensions | 《通信》MIME(電子メールの拡張形式)
misc. | miscellaneous | 雑多な、その他
ml | milliliter | ミリリットル
mm | millimeter | ミリメートル
Mon. | Monday | 月曜日
mph | miles per hour | 時速～マイル
Mr. | Mister | ～氏、～様、～さん(男性)
MRI | magnetic resonance imaging | 磁気共鳴画像法
Mrs. | Mistress | ～夫人、～さん(既婚女性)
Ms. | | ～さん(女性、未婚・既婚を問わない)
MS | manuscript | 原稿、写本 ◆複 MSS
MTO | make to order | 受注生産
Mt. | mount; mountain | ～山
N/A | not applicable; not available | 該当なし; 入手不可
NASA | National Aeronautics and Space Administration | 米国航空宇宙局
NATO | North Atlantic Treaty Organization | 北大西洋条約機構
NB | nota bene | 注意せよ ◆ラテン語から
NG | no good | 失敗、だめ ◆和製用法
NGO | non-governmental organization | 非政府組織
NIC | network interface card | 《通信》ネットワーク・インターフェース・カード
No. | number | 第～号、～番 ◆ラテン語 numero から、複 Nos.
Nov. | November | 11月
NPO | nonprofit organization | 非営利組織
NY | New York | ニューヨーク
OCR | optical character recognition | 光学文字認識 ◆紙の本をスキャンして文字を読み取る
Oct. | October | 10月
OECD | Organisation for Economic Co-operation and Development | 経済協力開発機構
OEM | original equipment manufacturer | 相手先ブランドによる製造
OJT | on-the-job training | 職場内訓練
OK | okay | よろしい、了解
OS | operating system | 《コンピュ》オペレーティングシステム、基本ソフト
OS | out of stock | 在庫切れ
OTC | over-the-counter | (薬が)処方箋なしで買える、店頭取引の
OTP | one-time password | ワンタイムパスワード
oz | ounce | オンス ◆複 oz, ozs
p. | page | ページ ◆複 pp.
p.m. | post meridiem | 午後 ◆ラテン語から
P.S. | postscript | 追伸
PC | personal computer | パソコン、ﾊﾟｿｺﾝ
PC | politically correct | 政治的に正しい(差別的でない)
PDF | Portable Document Format | 《コンピュ》PDF(文書形式)
pH | potential of hydrogen | 水素イオン指数 ◆水溶液の酸性・アルカリ性の度合い
PhD | Doctor of Philosophy | 博士(号)
PIN | personal identification number | 暗証番号
pkg. | package | 包み、パッケージ
PLC | public limited company | 公開有限責任会社 ◆英
PM | prime minister | 首相
PNG | Portable Network Graphics | 《コンピュ》PNG画像形式
POP | Post Office Protocol | 《通信》POP(メール受信方式)
POS | point of sale | 販売時点情報管理
pp. | pages | ページ(複数) ◆pp. 10-15 10～15ページ
ppm | parts per million | 100万分率
PR | public relations | 広報、宣伝活動
PR | personal record | 自己最高記録
PS | power supply | 電源
PTA | Parent-Teacher Association | ピーティーエー、父母と教師の会
PTO | please turn over | 裏面へ続く
PWR | pressurized water reactor | 加圧水型原子炉
Q&A | question and answer | 質疑応答
QR code | Quick Response code | 二次元コードの一種
R&D | research and development | 研究開発
RAM | random-access memory | 《コンピュ》ランダムアクセスメモリー
RBI | run(s) batted in | 《野球》打点 ◆打者のヒットなどで得点(run)が入った数
Rd. | road | ～通り、～街道
re: | regarding | ～に関して、～の件 ◆メールの件名で返信を表す
ref. | reference | 参照、参考文献
regexp | regular expression | 《コンピュ》正規表現 ◆regex とも。文字列の検索に使うパターン
RNA | ribonucleic acid | リボ核酸
ROI | return on investment | 投資収益率
ROM | read-only memory | 《コンピュ》読み出し専用メモリー
rpm | revolutions per minute | 毎分回転数
RPG | role-playing game | ロールプレイングゲーム
RPG | rocket-propelled grenade | 携帯式ロケット弾
RSA | Rivest-Shamir-Adleman | 《コンピュ》RSA暗号 ◆考案者3人の頭文字
RSVP | repondez s'il vous plait | ご返事をお願いします ◆招待状で
RV | recreational vehicle | キャンピングカー、レジャー用車両
SAR | search and rescue | 捜索救難 ◆遭難者の捜索と救助
Sat. | Saturday | 土曜日
SDK | software development kit | 《コンピュ》ソフトウェア開発キット
sec. | second | 秒
SEO | search engine optimization | 検索エンジン最適化 ◆検索結果の上位に表示されるようにする工夫
Sep. | September | 9月 ◆Sept. とも
SJIS | Shift JIS | 《コンピュ》シフトJIS ◆日本語の文字コードの一方式で、ASCIIの英数字と半角カナ(ｶﾀｶﾅ)を1バイトで、漢字やひらがなを2バイトで表す。2バイト文字の第1バイトは16進で81～9FまたはE0～FCの範囲にあり、第2バイトには「\」や「@」と同じ値が現れることがあるため(例: 「表」「ソ」「能」)、1バイトずつ比較する素朴な検索では誤って一致することがある。
SMS | short message service | ショートメッセージサービス
SMTP | Simple Mail Transfer Protocol | 《通信》SMTP(メール送信方式)
SNS | social networking service | ソーシャル・ネットワーキング・サービス
SOS | | 遭難信号 ◆モールス信号で打ちやすい組み合わせで、特定の語の略ではない
sq. | square | 平方
Sr. | senior | 父の方、年長の
SSD | solid-state drive | 《コンピュ》ソリッドステートドライブ
SSL | Secure Sockets Layer | 《通信》SSL(暗号化通信方式)
St. | saint; street | 聖～; ～通り
Sun. | Sunday | 日曜日
SUV | sport utility vehicle | スポーツ用多目的車
TB | terabyte | テラバイト
TBA | to be announced | 追って発表
TCP | Transmission Control Protocol | 《通信》TCP
tel. | telephone | 電話(番号)
Thu. | Thursday | 木曜日 ◆Thur., Thurs. とも
TLS | Transport Layer Security | 《通信》TLS(暗号化通信方式)
TM | trademark | 商標
Tue. | Tuesday | 火曜日 ◆Tues. とも
TV | television | テレビ
UFO | unidentified flying object | 未確認飛行物体
UK | United Kingdom | 英国、連合王国
UN | United Nations | 国際連合
UNESCO | United Nations Educational, Scientific and Cultural Organization | ユネスコ、国連教育科学文化機関
UNICEF | United Nations Children's Fund | ユニセフ、国連児童基金 ◆旧称の頭文字による
URL | uniform resource locator | 《コンピュ》URL、ウェブ上の住所
US | United States | 米国、合衆国
USB | Universal Serial Bus | 《コンピュ》USB
UTC | Coordinated Universal Time | 協定世界時
UTF-8 | 8-bit Unicode Transformation Format | 《コンピュ》UTF-8 ◆可変長の文字符号化方式
UV | ultraviolet | 紫外線(の)
v. | verb; versus | 動詞; ～対…
VAT | value-added tax | 付加価値税
VIP | very important person | 要人、重要人物
viz. | videlicet | すなわち ◆ラテン語から
vol. | volume | 巻、(本の)冊 ◆複 vols.
VPN | virtual private network | 《通信》仮想私設網
VR | virtual reality | 仮想現実
vs. | versus | ～対…
WAN | wide area network | 《通信》広域ネットワーク
Wed. | Wednesday | 水曜日
WHO | World Health Organization | 世界保健機関
Wi-Fi | wireless fidelity | 無線LAN(の規格名) ◆元は商標
wk. | week | 週
WP | word processor | ワープロ、文書作成ソフト
WTO | World Trade Organization | 世界貿易機関
WWW | World Wide Web | ワールドワイドウェブ
WYSIWYG | what you see is what you get | 《コンピュ》ｳｨｼﾞｳｨｸﾞ、画面どおりに印刷される方式
XML | Extensible Markup Language | 《コンピュ》XML
yd | yard | ヤード
yr. | year | 年
ZIP code | Zone Improvement Plan code | 《米》郵便番号
"""

# ---------------------------------------------------------------------------
# Proper nouns (KOVA固名): "Name | category | Japanese".
# Written as "■Name  {category} 訳".
# ---------------------------------------------------------------------------

PROPER_NOUNS = r"""
Aberdeen | 地名 | アバディーン《スコットランド北東部の港湾都市》
Acropolis | 地名 | アクロポリス《アテネの丘、パルテノン神殿がある》
Adriatic Sea | 地名 | アドリア海
Aesop | 人名 | イソップ《古代ギリシャの寓話作家》 ◆Aesop's Fables イソップ物語
Afghanistan | 国名 | アフガニスタン《首都 Kabul》
Africa | 地名 | アフリカ(大陸)
Alaska | 地名 | アラスカ《米国の州、州都 Juneau》
Albania | 国名 | アルバニア《首都 Tirana》
Alexander the Great | 人名 | アレクサンドロス大王《古代マケドニアの王》
Alexandria | 地名 | アレクサンドリア《エジプトの港湾都市、古代には膨大な数の本(巻物)を集めた大図書館があった》
Algeria | 国名 | アルジェリア《首都 Algiers》
Alice | 人名 | アリス《童話「不思議の国のアリス」の主人公の少女》
Alps | 地名 | アルプス山脈 ◆the Alps
Amazon | 地名 | アマゾン川《南米を流れる世界最大の流域面積をもつ川、水量も世界一》
Amazon | 神話 | アマゾン《ギリシャ神話の女戦士族》
Amsterdam | 地名 | アムステルダム《オランダの首都、運河の水の都》
Andersen | 人名 | アンデルセン《デンマークの童話作家》
Andes | 地名 | アンデス山脈
Antarctica | 地名 | 南極大陸
Apollo | 神話 | アポロン《ギリシャ神話の光と音楽の神》 ◆god of light
Apollo | 歴史 | アポロ計画《米国の有人月探査計画》
Aquarius | 天文 | 水瓶座 ◆the Water Bearer
Arabian Nights | 書名 | 千夜一夜物語、アラビアンナイト
Archimedes | 人名 | アルキメデス《古代ギリシャの数学者、風呂の水があふれるのを見て浮力の原理に気づいたという》
Arctic Ocean | 地名 | 北極海
Argentina | 国名 | アルゼンチン《首都 Buenos Aires》
Aristotle | 人名 | アリストテレス《古代ギリシャの哲学者》
Armstrong | 人名 | アームストロング《1969年に月面に降り立った米国の宇宙飛行士》
Arthur | 人名 | アーサー王《ブリテンの伝説上の王、円卓の騎士を率いた》
Asia | 地名 | アジア
Athena | 神話 | アテナ《ギリシャ神話の知恵と戦いの女神》
Athens | 地名 | アテネ《ギリシャの首都》
Atlantic Ocean | 地名 | 大西洋
Atlantis | 伝説 | アトランティス《海中に没したという伝説の大陸》
Atlas | 神話 | アトラス《天空を支える巨人》 ◆地図帳(atlas)の語源
Austen | 人名 | オースティン《英国の小説家 Jane Austen》
Australia | 国名 | オーストラリア《首都 Canberra》
Austria | 国名 | オーストリア《首都 Vienna》
Babel | 聖書 | バベル《天に届く塔を建てようとした町》 ◆the Tower of Babel
Bach | 人名 | バッハ《ドイツの作曲家》
Baghdad | 地名 | バグダッド《イラクの首都》
Bangkok | 地名 | バンコク《タイの首都》
Bangladesh | 国名 | バングラデシュ《首都 Dhaka》
Bastet | 神話 | バステト《古代エジプトの猫の頭をもつ女神》 ◆cat goddess
Beethoven | 人名 | ベートーベン《ドイツの作曲家》
Beijing | 地名 | 北京(ペキン)《中国の首都》
Belgium | 国名 | ベルギー《首都 Brussels》
Bell | 人名 | ベル《電話を発明した Alexander Graham Bell》
Berlin | 地名 | ベルリン《ドイツの首都》
Bible | 書名 | 聖書 ◆the Bible、the Good Book とも。「本(book)」の意のギリシャ語から
Big Ben | 地名 | ビッグ・ベン《ロンドンの国会議事堂の時計塔の大時計》
Bombay | 地名 | ボンベイ《ムンバイ(Mumbai)の旧称》
Boston | 地名 | ボストン《米国マサチューセッツ州の州都》
Brazil | 国名 | ブラジル《首都 Brasilia》
Britain | 国名 | 英国、ブリテン ◆Great Britain
Brussels | 地名 | ブリュッセル《ベルギーの首都》
Buddha | 人名 | 仏陀、釈迦
Bull Run | 地名 | ブルラン《米国バージニア州の小川、南北戦争の戦場》
Cairo | 地名 | カイロ《エジプトの首都》
California | 地名 | カリフォルニア《米国西部の州、州都 Sacramento》
Cambodia | 国名 | カンボジア《首都 Phnom Penh》
Cambridge | 地名 | ケンブリッジ《英国の大学都市; 米国マサチューセッツ州の都市》
Canada | 国名 | カナダ《首都 Ottawa》
Canberra | 地名 | キャンベラ《オーストラリアの首都》
Cape of Good Hope | 地名 | 喜望峰《アフリカ南端の岬》
Caribbean Sea | 地名 | カリブ海
Carroll | 人名 | キャロル《「不思議の国のアリス」の作者 Lewis Carroll》
Caspian Sea | 地名 | カスピ海《世界最大の湖、水は塩分を含む》
Cassiopeia | 天文 | カシオペヤ座
Chaplin | 人名 | チャップリン《英国出身の喜劇俳優・映画監督》
Cheshire | 地名 | チェシャー《イングランド北西部の州》 ◆grin like a Cheshire cat (「不思議の国のアリス」のチェシャ猫のように)にやにや笑う
Chicago | 地名 | シカゴ《米国イリノイ州の大都市》
Chile | 国名 | チリ《首都 Santiago》
China | 国名 | 中国《首都 Beijing》
Christmas | 祝日 | クリスマス、ｸﾘｽﾏｽ ◆Xmas とも書く
Cinderella | 人名 | シンデレラ《童話の主人公》
Cleopatra | 人名 | クレオパトラ《古代エジプト最後の女王》
Colombia | 国名 | コロンビア《首都 Bogota》
Colorado | 地名 | コロラド《米国西部の州》; コロラド川
Columbus | 人名 | コロンブス《イタリア生まれの航海者、西回りでアジアへの航路を探して(in search of)1492年にアメリカ大陸に到達した》
Confucius | 人名 | 孔子《中国の思想家》
Copenhagen | 地名 | コペンハーゲン《デンマークの首都》
Copernicus | 人名 | コペルニクス《地動説を唱えたポーランドの天文学者》
Cuba | 国名 | キューバ《首都 Havana》
Cupid | 神話 | キューピッド《ローマ神話の恋の神》
Curie | 人名 | キュリー《放射能を研究したポーランド出身の物理学者・化学者 Marie Curie》
Czech Republic | 国名 | チェコ《首都 Prague》
Danube | 地名 | ドナウ川
Darwin | 人名 | ダーウィン《進化論を唱えた英国の博物学者》 ◆著書 On the Origin of Species(種の起源)
da Vinci | 人名 | ダ・ビンチ《イタリアの芸術家・科学者 Leonardo da Vinci》
Dead Sea | 地名 | 死海《塩分が非常に濃く、人が水に浮く》
Delhi | 地名 | デリー《インドの都市》
Denmark | 国名 | デンマーク《首都 Copenhagen》
Dewey | 人名 | デューイ《図書館の十進分類法を考案した米国の司書 Melvil Dewey、本の分類と検索を容易にした》
Dickens | 人名 | ディケンズ《英国の小説家》 ◆A Christmas Carol
Dick Whittington | 人名 | ディック・ホイッティントン《ロンドン市長になった伝説の少年、飼い猫(cat)のおかげで富を得たという》
Domesday Book | 書名 | ドゥームズデイ・ブック《1086年にイングランドで作られた土地台帳》
Don Quixote | 人名 | ドン・キホーテ《セルバンテスの小説の主人公》
Dover | 地名 | ドーバー《英国南東部の港町》 ◆the Strait of Dover
Dracula | 人名 | ドラキュラ《小説の吸血鬼》
Dublin | 地名 | ダブリン《アイルランドの首都》
Easter | 祝日 | 復活祭、イースター
Eden | 聖書 | エデンの園 ◆the Garden of Eden
Edinburgh | 地名 | エディンバラ《スコットランドの首都》
Edison | 人名 | エジソン《米国の発明家、白熱電球の光(light)を実用化した》
Egypt | 国名 | エジプト《首都 Cairo》
Einstein | 人名 | アインシュタイン《相対性理論を唱えたドイツ生まれの物理学者、光(light)の速度は一定であるとした》
England | 地名 | イングランド
Euclid | 人名 | ユークリッド《古代ギリシャの数学者、「原論」で幾何学を体系化》
Euphrates | 地名 | ユーフラテス川
Europe | 地名 | ヨーロッパ、欧州
Everest | 地名 | エベレスト山《世界最高峰》 ◆Mount Everest
Faraday | 人名 | ファラデー《電磁誘導を発見した英国の科学者》
Fiji | 国名 | フィジー《首都 Suva》
Finland | 国名 | フィンランド《首都 Helsinki》
Florence | 地名 | フィレンツェ《イタリアの都市》
Florida | 地名 | フロリダ《米国南東部の州》
France | 国名 | フランス《首都 Paris》
Frankenstein | 作品 | フランケンシュタイン《メアリー・シェリーの小説、また怪物を作った(made)科学者の名》 ◆俗に怪物そのものを指す
Franklin | 人名 | フランクリン《米国の政治家・科学者、たこを使った実験で稲妻の光が電気であることを示した》
Fuji | 地名 | 富士山 ◆Mount Fuji、Mt. Fuji
Galapagos Islands | 地名 | ガラパゴス諸島
Galileo | 人名 | ガリレオ《イタリアの天文学者・物理学者、望遠鏡で木星の衛星を発見した》
Gandhi | 人名 | ガンジー《インド独立運動の指導者》
Ganges | 地名 | ガンジス川
Geneva | 地名 | ジュネーブ《スイスの都市》
Georgia | 国名 | ジョージア《首都 Tbilisi》
Georgia | 地名 | ジョージア《米国南東部の州》
Germany | 国名 | ドイツ《首都 Berlin》
Ghana | 国名 | ガーナ《首都 Accra》
Gobi | 地名 | ゴビ砂漠
Goliath | 聖書 | ゴリアテ《ダビデに倒された巨人》
Grand Canyon | 地名 | グランドキャニオン《コロラド川の水が削った大峡谷》
Greece | 国名 | ギリシャ《首都 Athens》
Greenland | 地名 | グリーンランド《世界最大の島》
Greenwich | 地名 | グリニッジ《ロンドン郊外、経度0度の子午線が通る》
Grimm | 人名 | グリム《童話を集めたドイツの兄弟》 ◆Grimm's Fairy Tales
Gulliver | 人名 | ガリバー《「ガリバー旅行記」の主人公》
Gutenberg | 人名 | グーテンベルク《活版印刷術を実用化したドイツ人、本(book)を大量に作ること(make)を可能にした》
Hades | 神話 | ハデス《ギリシャ神話の冥界の王》
Halley | 人名 | ハレー《英国の天文学者》 ◆Halley's Comet ハレー彗星
Hamlet | 作品 | ハムレット《シェークスピアの悲劇、またその主人公》
Hawaii | 地名 | ハワイ《米国の州、州都 Honolulu》
Helsinki | 地名 | ヘルシンキ《フィンランドの首都》
Hercules | 神話 | ヘラクレス《ギリシャ神話の怪力の英雄》
Himalayas | 地名 | ヒマラヤ山脈 ◆the Himalayas
Hippocrates | 人名 | ヒポクラテス《古代ギリシャの医者》
Hiroshima | 地名 | 広島
Hokkaido | 地名 | 北海道
Holmes | 人名 | ホームズ《推理小説の名探偵 Sherlock Holmes》
Holy Grail | 伝説 | 聖杯《アーサー王伝説の騎士たちが探し求めた(searched for)杯》
Homer | 人名 | ホメロス《古代ギリシャの詩人》
Hong Kong | 地名 | 香港(ホンコン)
Honolulu | 地名 | ホノルル《ハワイ州の州都》
Honshu | 地名 | 本州《日本最大の島》
Hudson | 地名 | ハドソン川《ニューヨークを流れる》
Hungary | 国名 | ハンガリー《首都 Budapest》
Iceland | 国名 | アイスランド《首都 Reykjavik》
India | 国名 | インド《首都 New Delhi》
Indian Ocean | 地名 | インド洋
Indonesia | 国名 | インドネシア《首都 Jakarta》
Iran | 国名 | イラン《首都 Tehran》
Iraq | 国名 | イラク《首都 Baghdad》
Ireland | 国名 | アイルランド《首都 Dublin》
Israel | 国名 | イスラエル
Istanbul | 地名 | イスタンブール《トルコ最大の都市》
Italy | 国名 | イタリア《首都 Rome》
Jamaica | 国名 | ジャマイカ《首都 Kingston》
Japan | 国名 | 日本《首都 Tokyo》 ◆the Land of the Rising Sun
Jerusalem | 地名 | エルサレム
Joan of Arc | 人名 | ジャンヌ・ダルク《フランスの救国の少女》
Jupiter | 天文 | 木星
Jupiter | 神話 | ユピテル《ローマ神話の最高神》
Kenya | 国名 | ケニア《首都 Nairobi》
Kilimanjaro | 地名 | キリマンジャロ山《アフリカ最高峰》
Kobe | 地名 | 神戸
Korea | 国名 | 韓国、朝鮮
Kyoto | 地名 | 京都
Kyushu | 地名 | 九州
Lake Biwa | 地名 | 琵琶湖《日本最大の湖、近畿の水がめ》
Lincoln | 人名 | リンカーン《米国第16代大統領》
Lisbon | 地名 | リスボン《ポルトガルの首都》
Loch Ness | 地名 | ネス湖《スコットランドの湖、怪獣の伝説がある》
London | 地名 | ロンドン《英国の首都、テムズ川に臨む》
Los Angeles | 地名 | ロサンゼルス《米国カリフォルニア州の大都市》
Lucifer | 神話 | ルシフェル《堕天使; 明けの明星、原義は「光をもたらす者」(light-bringer)》
Luxembourg | 国名 | ルクセンブルク《首都 Luxembourg》
Madrid | 地名 | マドリード《スペインの首都》
Magellan | 人名 | マゼラン《ポルトガルの航海者、その船隊が初めて世界一周を果たした》
Malaysia | 国名 | マレーシア《首都 Kuala Lumpur》
Manchester | 地名 | マンチェスター《イングランド北西部の工業都市》
Marathon | 地名 | マラトン《ギリシャの古戦場、勝利を伝える伝令がアテネまで走った(ran)という故事がマラソン競走の由来》
Mars | 天文 | 火星 ◆科学者たちは火星で水を探している
Mars | 神話 | マルス《ローマ神話の軍神》
Mediterranean Sea | 地名 | 地中海
Mekong | 地名 | メコン川
Mercury | 天文 | 水星《太陽に最も近い惑星》
Mercury | 神話 | メルクリウス《ローマ神話の神々の使者》
Mexico | 国名 | メキシコ《首都 Mexico City》
Michelangelo | 人名 | ミケランジェロ《イタリアの彫刻家・画家》
Milky Way | 天文 | 天の川、銀河 ◆夜空に見える淡い光の帯
Mississippi | 地名 | ミシシッピ川; ミシシッピ州
Mona Lisa | 作品 | モナ・リザ《ダ・ビンチの肖像画》
Mongolia | 国名 | モンゴル《首都 Ulaanbaatar》
Mont Blanc | 地名 | モンブラン《アルプスの最高峰》
Morocco | 国名 | モロッコ《首都 Rabat》
Moscow | 地名 | モスクワ《ロシアの首都》
Moses | 聖書 | モーセ《古代イスラエルの指導者》
Mozart | 人名 | モーツァルト《オーストリアの作曲家》
Mumbai | 地名 | ムンバイ《インド西部の大都市》
Nagasaki | 地名 | 長崎
Nagoya | 地名 | 名古屋
Napoleon | 人名 | ナポレオン《フランス皇帝 Napoleon Bonaparte》 ◆1815年ワーテルロー(Waterloo)で敗れた
Nara | 地名 | 奈良
Neptune | 天文 | 海王星
Neptune | 神話 | ネプトゥヌス《ローマ神話の海の神》
Netherlands | 国名 | オランダ《首都 Amsterdam》 ◆the Netherlands
New Delhi | 地名 | ニューデリー《インドの首都》
New York | 地名 | ニューヨーク《米国の大都市; ニューヨーク州》
New Zealand | 国名 | ニュージーランド《首都 Wellington》
Newton | 人名 | ニュートン《英国の物理学者・数学者、万有引力の法則を発見し、プリズムで光(light)を七色に分けた》
Niagara Falls | 地名 | ナイアガラの滝《米国とカナダの国境にある大瀑布、毎秒大量の水(water)が流れ落ちる》
Nigeria | 国名 | ナイジェリア《首都 Abuja》
Nightingale | 人名 | ナイチンゲール《英国の看護師、近代看護の創始者》 ◆the Lady with the Lamp(ランプの光を持った婦人)
Nikko | 地名 | 日光《栃木県の観光地》 ◆東照宮がある
Nile | 地名 | ナイル川《アフリカ東部を北へ流れる(runs north)世界最長級の川、古代エジプト文明を水で支えた》
Noah | 聖書 | ノア《大洪水の際に箱舟を作った(made)人物》 ◆Noah's Ark ノアの箱舟
North Pole | 地名 | 北極
Norway | 国名 | ノルウェー《首都 Oslo》
Odysseus | 神話 | オデュッセウス《ホメロスの叙事詩の英雄》
Okinawa | 地名 | 沖縄
Olympus | 神話 | オリンポス山《ギリシャ神話の神々の住まい》
Orion | 天文 | オリオン座
Osaka | 地名 | 大阪
Oslo | 地名 | オスロ《ノルウェーの首都》
Ottawa | 地名 | オタワ《カナダの首都》
Oxford | 地名 | オックスフォード《英国の大学都市》
Pacific Ocean | 地名 | 太平洋
Pakistan | 国名 | パキスタン《首都 Islamabad》
Pandora | 神話 | パンドラ《開けてはならない箱を開けた女性》 ◆Pandora's box
Paris | 地名 | パリ《フランスの首都、セーヌ川に臨む》
Parthenon | 地名 | パルテノン神殿
Pegasus | 神話 | ペガサス、ﾍﾟｶﾞｻｽ《翼のある馬》 ◆ペガスス座(天文)
Peru | 国名 | ペルー《首都 Lima》
Peter Pan | 人名 | ピーター・パン《大人にならない少年》
Pharos | 地名 | ファロス島《アレクサンドリア沖の島、古代の大灯台があり、その光は遠く沖から見えたという》
Philippines | 国名 | フィリピン《首都 Manila》 ◆the Philippines
Picasso | 人名 | ピカソ《スペイン生まれの画家》
Pinocchio | 人名 | ピノッキオ《うそをつくと鼻が伸びる木の人形》
Plato | 人名 | プラトン《古代ギリシャの哲学者》
Pleiades | 天文 | プレアデス星団、すばる
Pluto | 天文 | 冥王星
Poland | 国名 | ポーランド《首都 Warsaw》
Polaris | 天文 | 北極星 ◆the North Star、the Pole Star
Portugal | 国名 | ポルトガル《首都 Lisbon》
Poseidon | 神話 | ポセイドン《ギリシャ神話の海の神》
Prague | 地名 | プラハ《チェコの首都》
Prometheus | 神話 | プロメテウス《天上の火を盗んで人間に与えた》
Puss in Boots | 作品 | 長靴をはいた猫《童話、知恵のある猫が主人を出世させる》
Pygmalion | 神話 | ピグマリオン《自分で作った(made)象牙の像に恋した王》
Pyramids | 地名 | ピラミッド《エジプトの王墓》
Pythagoras | 人名 | ピタゴラス《古代ギリシャの数学者》 ◆Pythagorean theorem 三平方の定理
Quebec | 地名 | ケベック《カナダ東部の州; 州都 Quebec City》
Red Sea | 地名 | 紅海
Rhine | 地名 | ライン川
Robin Hood | 人名 | ロビン・フッド《英国の伝説の義賊》
Robinson Crusoe | 人名 | ロビンソン・クルーソー《無人島で暮らした小説の主人公》
Rocky Mountains | 地名 | ロッキー山脈 ◆the Rockies
Romania | 国名 | ルーマニア《首都 Bucharest》
Rome | 地名 | ローマ《イタリアの首都》 ◆Rome was not built in a day. ローマは1日にして成らず
Romeo and Juliet | 作品 | ロミオとジュリエット《シェークスピアの悲劇》
Russia | 国名 | ロシア《首都 Moscow》
Sahara | 地名 | サハラ砂漠《水の乏しい世界最大の砂漠》
Saint Nicholas | 人名 | 聖ニコラス《サンタクロースの起源とされる聖人》
Santa Claus | 人名 | サンタクロース、ｻﾝﾀ
Sapporo | 地名 | 札幌
Saturn | 天文 | 土星
Saudi Arabia | 国名 | サウジアラビア《首都 Riyadh》
Scotland | 地名 | スコットランド
Seine | 地名 | セーヌ川
Seoul | 地名 | ソウル《韓国の首都》
Shakespeare | 人名 | シェークスピア《英国の劇作家・詩人(1564-1616)》 ◆主な作品に悲劇 Hamlet(ハムレット)、Othello(オセロ)、King Lear(リア王)、Macbeth(マクベス)、Romeo and Juliet(ロミオとジュリエット)、喜劇 A Midsummer Night's Dream(夏の夜の夢)、The Merchant of Venice(ベニスの商人)、As You Like It(お気に召すまま)などがあり、その作品から生まれた成句は今日の英語にも多く残っている。
Shanghai | 地名 | 上海(シャンハイ)
Shikoku | 地名 | 四国
Siberia | 地名 | シベリア
Singapore | 国名 | シンガポール
Sirius | 天文 | シリウス、ｼﾘｳｽ《おおいぬ座の一等星、夜空で最も明るい恒星で、その光は約8.6年かけて地球に届く》
Snow White | 人名 | 白雪姫
Socrates | 人名 | ソクラテス《古代ギリシャの哲学者》
South Africa | 国名 | 南アフリカ(共和国)
South Pole | 地名 | 南極
Spain | 国名 | スペイン《首都 Madrid》
Sphinx | 神話 | スフィンクス《人の頭とライオンの体をもつ怪物》
Statue of Liberty | 地名 | 自由の女神像《ニューヨーク港にある》
Stockholm | 地名 | ストックホルム《スウェーデンの首都》
Stonehenge | 地名 | ストーンヘンジ《英国の巨石遺跡》
Sweden | 国名 | スウェーデン《首都 Stockholm》
Switzerland | 国名 | スイス《首都 Bern》
Sydney | 地名 | シドニー《オーストラリア最大の都市》
Taj Mahal | 地名 | タージ・マハル《インドの霊廟》
Thailand | 国名 | タイ《首都 Bangkok》
Thames | 地名 | テムズ川《ロンドンを流れる川》
Thor | 神話 | トール《北欧神話の雷神》 ◆Thursday の語源
Tigris | 地名 | チグリス川
Titanic | 歴史 | タイタニック号《1912年に氷山に衝突して沈んだ英国の豪華客船》
Tokyo | 地名 | 東京《日本の首都》
Toronto | 地名 | トロント《カナダ最大の都市》
Trojan Horse | 神話 | トロイの木馬 ◆《コンピュ》有益なソフトを装った悪意あるプログラム
Troy | 地名 | トロイ《古代の都市》
Turkey | 国名 | トルコ《首都 Ankara》
Uranus | 天文 | 天王星
Utopia | 書名 | ユートピア《トマス・モアの著作、理想郷》
Van Gogh | 人名 | ゴッホ《オランダの画家》
Vatican | 地名 | バチカン市国
Venice | 地名 | ベネチア《イタリアの水の都》
Venus | 天文 | 金星 ◆明けの明星、宵の明星
Venus | 神話 | ビーナス《ローマ神話の愛と美の女神》
Vesuvius | 地名 | ベスビオ火山《ポンペイを埋めた》
Victoria | 人名 | ビクトリア女王《英国の女王、在位1837-1901》
Vienna | 地名 | ウィーン《オーストリアの首都》
Vietnam | 国名 | ベトナム《首都 Hanoi》
Wales | 地名 | ウェールズ
Washington | 人名 | ワシントン《米国初代大統領 George Washington》
Washington | 地名 | ワシントン《米国の首都 Washington, D.C.; 米国北西部の州》
Waterloo | 地名 | ワーテルロー《ベルギーの村、1815年ナポレオンが敗れた戦場》 ◆meet one's Waterloo 大敗北を喫する
Watt | 人名 | ワット《蒸気機関を改良した英国の技術者》 ◆電力の単位 watt の由来
Wellington | 地名 | ウェリントン《ニュージーランドの首都》
Westminster | 地名 | ウェストミンスター《ロンドンの一区、国会議事堂がある》
Wright | 人名 | ライト《1903年に動力飛行に成功した米国の兄弟 the Wright brothers》
Yangtze | 地名 | 長江、揚子江
Yellowstone | 地名 | イエローストーン国立公園《米国、間欠泉で熱い水が噴き上がる》
Yokohama | 地名 | 横浜
Zeus | 神話 | ゼウス《ギリシャ神話の最高神》
Zurich | 地名 | チューリッヒ《スイス最大の都市》
"""

# ---------------------------------------------------------------------------
# Technical terms (KOVSEN): "term | 品詞 | 《分野》訳".
# Written as "■term  {品詞} 《分野》訳".  One line deliberately holds a tab
# character (written here as <TAB>), for trying the escape \t.
# ---------------------------------------------------------------------------

TECHNICAL = r"""
absolute path | 名 | 《コンピュ》絶対パス
absorbance | 名 | 《化学》吸光度 ◆試料が光を吸収する度合い
AC adapter | 名 | 《電気》ACアダプター
acceleration | 名 | 《物理》加速度
access time | 名 | 《コンピュ》アクセス時間
acid rain | 名 | 《環境》酸性雨
active matrix | 名 | 《電子》アクティブマトリックス(方式)
algorithm | 名 | 《コンピュ》アルゴリズム、算法
alias | 名 | 《コンピュ》別名、エイリアス
alkali | 名 | 《化学》アルカリ
alloy | 名 | 《金属》合金
alternating current | 名 | 《電気》交流
ammeter | 名 | 《電気》電流計
amplifier | 名 | 《電気》増幅器、ｱﾝﾌﾟ
analog | 形 | 《電子》アナログの
anchor | 名 | 《コンピュ》(正規表現の)アンカー ◆^ は行頭、$ は行末に一致する
antibody | 名 | 《医学》抗体
antenna | 名 | 《電気》アンテナ、空中線
aperture | 名 | 《光学》開口、絞り ◆レンズに入る光の量を調節する
aquifer | 名 | 《地学》帯水層 ◆地下水を含む地層
argument | 名 | 《コンピュ》引数 ◆《数学》偏角
array | 名 | 《コンピュ》配列
artificial intelligence | 名 | 《コンピュ》人工知能
assembler | 名 | 《コンピュ》アセンブラー
asynchronous | 形 | 《コンピュ》非同期の
atom | 名 | 《物理・化学》原子
attenuation | 名 | 《電気・光学》減衰
automaton | 名 | 《コンピュ》オートマトン ◆複 automata。有限オートマトン finite automaton は正規表現による検索の基礎となる
backslash | 名 | 《コンピュ》逆斜線、バックスラッシュ(\) ◆日本語環境では円記号(￥)として表示されることがある
backtracking | 名 | 《コンピュ》バックトラック、後戻り
backup | 名 | 《コンピュ》バックアップ、予備の複製
bandwidth | 名 | 《通信》帯域幅
bar code | 名 | 《コンピュ》バーコード ◆本(書籍)の裏表紙にも印刷されている
battery | 名 | 《電気》電池、蓄電池、ﾊﾞｯﾃﾘｰ
baud rate | 名 | 《通信》ボーレート、変調速度
beam splitter | 名 | 《光学》ビームスプリッター ◆光を二つに分ける光学素子
binary | 形 | 《数学・コンピュ》二進法の、2値の
binary search | 名 | 《コンピュ》二分探索、二分検索 ◆整列済みの配列を半分ずつに絞り込んで検索する
bit | 名 | 《コンピュ》ビット
block | 名 | 《コンピュ》ブロック ◆ファイルを読み書きする単位
boiling point | 名 | 《物理》沸点 ◆水の沸点は1気圧でセ氏100度
bookkeeping | 名 | 《経済》簿記
bookmark | 名 | 《コンピュ》ブックマーク、しおり ◆本(book)のしおりから
book value | 名 | 《経済》簿価、帳簿価格
Boolean | 形 | 《コンピュ・数学》ブール(代数)の、真理値の
boot | 他動 | 《コンピュ》起動する、ﾌﾞｰﾄする
bracket expression | 名 | 《コンピュ》ブラケット表現 ◆正規表現の [a-z] のように、角かっこで文字の集合を表すもの
breakpoint | 名 | 《コンピュ》ブレークポイント
broadband | 名 | 《通信》ブロードバンド
browser | 名 | 《コンピュ》ブラウザー、閲覧ソフト
buffer | 名 | 《コンピュ》バッファー、緩衝記憶域 ◆《化学》緩衝液
bug | 名 | 《コンピュ》バグ、プログラムの誤り
bus | 名 | 《コンピュ》バス、データの通り道
byte | 名 | 《コンピュ》バイト ◆8ビット
cache | 名 | 《コンピュ》キャッシュ
calibration | 名 | 《計測》較正、キャリブレーション
capacitor | 名 | 《電気》コンデンサー、キャパシター
carriage return | 名 | 《コンピュ》復帰(文字)、CR
case-insensitive | 形 | 《コンピュ》大文字と小文字を区別しない ◆case-insensitive search 大文字・小文字を同一視する検索
case-sensitive | 形 | 《コンピュ》大文字と小文字を区別する
cat's eye | 名 | 《交通》キャッツアイ、道路びょう ◆夜、車のライトの光を反射して光る。猫(cat)の目に似ることから
catalyst | 名 | 《化学》触媒
catalytic converter | 名 | 《機械》触媒コンバーター
cathode | 名 | 《電気》陰極
cathode-ray tube | 名 | 《電子》陰極線管、ブラウン管
Category 5 cable | 名 | 《通信》カテゴリー5ケーブル ◆cat5 cable とも
cell | 名 | 《生物》細胞 ◆《電気》電池 ◆《コンピュ》(表計算の)セル
character class | 名 | 《コンピュ》文字クラス ◆正規表現で [abc] のように書き、そのどれか1文字に一致する
character code | 名 | 《コンピュ》文字コード
checksum | 名 | 《コンピュ》チェックサム
chlorophyll | 名 | 《生物》葉緑素 ◆光合成で光を吸収する色素
chromosome | 名 | 《生物》染色体
circuit | 名 | 《電気》回路
circuit breaker | 名 | 《電気》遮断器、ブレーカー
client | 名 | 《コンピュ》クライアント
clipboard | 名 | 《コンピュ》クリップボード
clock frequency | 名 | 《コンピュ》クロック周波数
code page | 名 | 《コンピュ》コードページ ◆日本語用は932
coefficient | 名 | 《数学》係数
compile | 他動 | 《コンピュ》コンパイルする ◆正規表現をオートマトンに変換することもいう
compiler | 名 | 《コンピュ》コンパイラー
compression | 名 | 《コンピュ》圧縮 ◆《物理》圧縮
concatenation | 名 | 《コンピュ》連結、連接
condenser | 名 | 《光学》集光レンズ、コンデンサー ◆《電気》コンデンサー
conductor | 名 | 《電気》導体
contract | 名 | 《法律》契約
convection | 名 | 《物理》対流
coolant | 名 | 《機械》冷却剤 ◆水が使われることが多い
copyright | 名 | 《法律》著作権
corrosion | 名 | 《化学》腐食
cosine | 名 | 《数学》余弦、コサイン
cursor | 名 | 《コンピュ》カーソル
data compression | 名 | 《コンピュ》データ圧縮
database | 名 | 《コンピュ》データベース、ﾃﾞｰﾀﾍﾞｰｽ ◆full-text database 全文データベース
deadlock | 名 | 《コンピュ》デッドロック
debugger | 名 | 《コンピュ》デバッガー
decibel | 名 | 《物理》デシベル
decoder | 名 | 《電子》デコーダー、復号器
default | 名 | 《コンピュ》既定値、デフォルト ◆《経済》債務不履行
defendant | 名 | 《法律》被告
delimiter | 名 | 《コンピュ》区切り文字 ◆単語検索では空白、引用符、かっこなどを単語の区切りとみなす
density | 名 | 《物理》密度 ◆水の密度はおよそ1 g/cm3
depth-first search | 名 | 《コンピュ》深さ優先探索
derivative | 名 | 《数学》導関数 ◆《経済》デリバティブ、金融派生商品
deterministic finite automaton | 名 | 《コンピュ》決定性有限オートマトン、DFA
device driver | 名 | 《コンピュ》デバイスドライバー
diffraction | 名 | 《光学》回折 ◆光や波が障害物の陰に回り込む現象
diode | 名 | 《電子》ダイオード
direct current | 名 | 《電気》直流
directory | 名 | 《コンピュ》ディレクトリ、フォルダー ◆current directory カレントディレクトリ
dispersion | 名 | 《光学》分散 ◆プリズムで光が七色に分かれる現象
distillation | 名 | 《化学》蒸留 ◆distilled water 蒸留水
double-byte character | 名 | 《コンピュ》2バイト文字、全角文字 ◆漢字、ひらがななど
drag and drop | 名 | 《コンピュ》ドラッグ・アンド・ドロップ
dynamo | 名 | 《電気》発電機
efficiency | 名 | 《機械》効率
elasticity | 名 | 《物理》弾性 ◆《経済》弾力性
electrode | 名 | 《電気》電極
electrolysis | 名 | 《化学》電気分解 ◆水を電気分解すると水素と酸素ができる
electromagnetic wave | 名 | 《物理》電磁波 ◆光も電磁波の一種
electron | 名 | 《物理》電子
encoding | 名 | 《コンピュ》符号化、エンコーディング ◆文字の符号化方式
encryption | 名 | 《コンピュ》暗号化
entropy | 名 | 《物理》エントロピー
enzyme | 名 | 《生物》酵素
equation | 名 | 《数学》方程式、等式
erosion | 名 | 《地学》浸食 ◆流れる水や風による
escape character | 名 | 《コンピュ》エスケープ文字 ◆正規表現では \ を前に置くと特殊文字が普通の文字になる
escape sequence | 名 | 《コンピュ》エスケープシーケンス ◆\t はタブ、\n は改行、\r は復帰、\x41 は16進コード41の文字
evaporation | 名 | 《物理》蒸発 ◆水が蒸発して水蒸気になる
exception | 名 | 《コンピュ》例外
exponent | 名 | 《数学》指数
fiber optics | 名 | 《光学》光ファイバー技術、ﾌｧｲﾊﾞｰｵﾌﾟﾃｨｸｽ
field | 名 | 《物理》場 ◆magnetic field 磁場 ◆《コンピュ》フィールド
file | 名 | 《コンピュ》ファイル
filter | 名 | 《電気》フィルター、ろ波器 ◆《化学》ろ過器 ◆water filter 浄水器
firewall | 名 | 《コンピュ》ファイアウォール ◆《建築》防火壁
firmware | 名 | 《コンピュ》ファームウェア
fixed string | 名 | 《コンピュ》固定文字列 ◆正規表現の特殊文字を含まないパターン。オートマトンを使わずに直接検索できる
flash memory | 名 | 《コンピュ》フラッシュメモリー
floating point | 名 | 《コンピュ》浮動小数点
fluorescence | 名 | 《物理》蛍光 ◆紫外線などを当てると光を出す現象
focal length | 名 | 《光学》焦点距離
font | 名 | 《コンピュ》フォント、書体 ◆half-width font 半角フォント
frequency | 名 | 《物理》周波数、振動数
friction | 名 | 《物理》摩擦
full-text search | 名 | 《コンピュ》全文検索 ◆文書の本文全体を対象にする検索
full-width character | 名 | 《コンピュ》全角文字 ◆例: Ａ、＊、（
function | 名 | 《数学》関数 ◆《コンピュ》関数、機能
fuse | 名 | 《電気》ヒューズ
gateway | 名 | 《通信》ゲートウェイ
gene | 名 | 《生物》遺伝子
generator | 名 | 《電気》発電機
geothermal | 形 | 《地学》地熱の ◆geothermal water 温泉水
gradient | 名 | 《数学》勾配
gravity | 名 | 《物理》重力
greenhouse effect | 名 | 《環境》温室効果
groundwater | 名 | 《地学》地下水
half-width katakana | 名 | 《コンピュ》半角カタカナ、半角カナ ◆例: ｶﾀｶﾅ。Shift-JISでは1バイトで表す
hard disk | 名 | 《コンピュ》ハードディスク
hardness | 名 | 《化学》(水の)硬度 ◆hard water 硬水、soft water 軟水
hash table | 名 | 《コンピュ》ハッシュ表
heat exchanger | 名 | 《機械》熱交換器
heavy water | 名 | 《化学》重水
hexadecimal | 形 | 《数学・コンピュ》16進法の ◆正規表現の \xHHHH は16進で文字コードを指定する
hit | 名 | 《コンピュ》ヒット、検索で一致した項目 ◆hit count 検索件数
hologram | 名 | 《光学》ホログラム
hormone | 名 | 《生物》ホルモン
hydraulic | 形 | 《機械》水力の、油圧の ◆hydraulic press 水圧機
hydroelectric | 形 | 《電気》水力発電の
hydrogen | 名 | 《化学》水素 ◆元素記号 H
hyperlink | 名 | 《コンピュ》ハイパーリンク
icon | 名 | 《コンピュ》アイコン
illuminance | 名 | 《光学》照度 ◆光に照らされる面の明るさ。単位はルクス
immunity | 名 | 《医学》免疫
impedance | 名 | 《電気》インピーダンス
index | 名 | 《コンピュ》索引、インデックス ◆本の巻末の索引も index という
inductance | 名 | 《電気》インダクタンス
inertia | 名 | 《物理》慣性
infection | 名 | 《医学》感染
infrared | 形 | 《物理》赤外線の
input method | 名 | 《コンピュ》入力方式、日本語入力システム
insulator | 名 | 《電気》絶縁体
integer | 名 | 《数学》整数
integral | 名 | 《数学》積分
interface | 名 | 《コンピュ》インターフェース
interference | 名 | 《光学》干渉 ◆光の干渉縞
interpreter | 名 | 《コンピュ》インタープリター
interrupt | 名 | 《コンピュ》割り込み
ion | 名 | 《化学》イオン
irrigation | 名 | 《農業》灌漑 ◆田畑に水を引くこと
kernel | 名 | 《コンピュ》カーネル
keyword | 名 | 《コンピュ》キーワード、検索語
kinetic energy | 名 | 《物理》運動エネルギー
laser | 名 | 《光学》レーザー ◆位相のそろった光を出す装置
latency | 名 | 《コンピュ》待ち時間、遅延
lead byte | 名 | 《コンピュ》先行バイト ◆2バイト文字の1バイト目。Shift-JISでは16進で81～9F、E0～FC
lens | 名 | 《光学》レンズ ◆光を屈折させて集めたり広げたりする
lever | 名 | 《機械》てこ
library | 名 | 《コンピュ》ライブラリー ◆プログラムの部品集
light guide | 名 | 《光学》光導波路、ライトガイド
light pen | 名 | 《コンピュ》ライトペン
light source | 名 | 《光学》光源
light year | 名 | 《天文》光年 ◆光が1年間に進む距離、約9兆4600億キロメートル
light-emitting diode | 名 | 《電子》発光ダイオード、LED
lightning arrester | 名 | 《電気》避雷器
line feed | 名 | 《コンピュ》改行(文字)、LF
linear search | 名 | 《コンピュ》線形探索、逐次検索 ◆先頭から順に一つずつ調べる検索
liquid crystal | 名 | 《物理》液晶
load | 名 | 《電気》負荷 ◆《機械》荷重
logic gate | 名 | 《電子》論理ゲート
longest match | 名 | 《コンピュ》最長一致 ◆同じ位置から始まる一致のうち最も長いものを選ぶ規則
loop | 名 | 《コンピュ》ループ、繰り返し
lumen | 名 | 《光学》ルーメン ◆光束の単位
luminous | 形 | 《光学》光を発する、発光性の ◆luminous paint 夜光塗料
lux | 名 | 《光学》ルクス ◆照度の単位
machine code | 名 | 《コンピュ》機械語
magnet | 名 | 《物理》磁石
make-before-break | 形 | 《電気》(接点が)メークビフォアブレーク式の ◆新しい回路をつないでから古い回路を切る
make-or-buy decision | 名 | 《経済》内製か外注かの意思決定 ◆自社で作る(make)か買う(buy)か
malware | 名 | 《コンピュ》マルウェア、悪意のあるソフトウェア
mass | 名 | 《物理》質量
matrix | 名 | 《数学》行列
memory leak | 名 | 《コンピュ》メモリーリーク
metacharacter | 名 | 《コンピュ》メタ文字 ◆正規表現で特別な意味をもつ文字。. * + ? | ( ) [ ] ^ $ \ など
microscope | 名 | 《光学》顕微鏡
modem | 名 | 《通信》モデム、変復調装置
molecule | 名 | 《化学》分子 ◆水の分子は H2O
momentum | 名 | 《物理》運動量
motherboard | 名 | 《コンピュ》マザーボード
motor | 名 | 《電気》電動機、モーター
multiplexer | 名 | 《通信》多重化装置
mutation | 名 | 《生物》突然変異
negligence | 名 | 《法律》過失
network | 名 | 《通信》ネットワーク
neuron | 名 | 《生物》神経細胞、ニューロン
neutron | 名 | 《物理》中性子
node | 名 | 《コンピュ》ノード、節点
nondeterministic finite automaton | 名 | 《コンピュ》非決定性有限オートマトン、NFA
nucleus | 名 | 《物理》原子核 ◆《生物》細胞核
octal | 形 | 《数学・コンピュ》8進法の ◆正規表現の \101 は8進で文字Aを表す
ohm | 名 | 《電気》オーム ◆抵抗の単位
operating system | 名 | 《コンピュ》オペレーティングシステム、OS
optical character recognition | 名 | 《コンピュ》光学文字認識、OCR ◆印刷された本のページを文字データにする
optical fiber | 名 | 《光学》光ファイバー ◆光を全反射させて遠くまで伝える細いガラス繊維
osmosis | 名 | 《化学》浸透 ◆reverse osmosis 逆浸透(海水の淡水化に使う)
oxidation | 名 | 《化学》酸化
oxygen | 名 | 《化学》酸素
parser | 名 | 《コンピュ》構文解析器、パーサー
parse tree | 名 | 《コンピュ》構文木
patent | 名 | 《法律》特許
pathogen | 名 | 《医学》病原体
pattern matching | 名 | 《コンピュ》パターン照合、パターンマッチング
permeability | 名 | 《物理》透磁率 ◆《地学》透水性
photocell | 名 | 《電子》光電池、光電管
photon | 名 | 《物理》光子 ◆光の粒子
photosynthesis | 名 | 《生物》光合成 ◆植物が光のエネルギーで水と二酸化炭素から糖を作る
pixel | 名 | 《コンピュ》画素、ピクセル
plaintiff | 名 | 《法律》原告
plug-in | 名 | 《コンピュ》プラグイン
pointer | 名 | 《コンピュ》ポインター
polarization | 名 | 《光学》偏光 ◆《電気》分極
polymer | 名 | 《化学》重合体、ポリマー
potential | 名 | 《電気》電位
precipitation | 名 | 《気象》降水(量) ◆《化学》沈殿
pressure | 名 | 《物理》圧力 ◆water pressure 水圧
prism | 名 | 《光学》プリズム ◆光を屈折させてスペクトルに分ける
processor | 名 | 《コンピュ》プロセッサー、処理装置
protein | 名 | 《生物》たんぱく質
protocol | 名 | 《通信》プロトコル、通信規約
pulley | 名 | 《機械》滑車
pump | 名 | 《機械》ポンプ ◆water pump 揚水ポンプ
quantifier | 名 | 《コンピュ》量指定子 ◆正規表現の * + ? など。直前の要素の繰り返し回数を指定する ◆《論理》量化子
quantum | 名 | 《物理》量子 ◆複 quanta
query | 名 | 《コンピュ》問い合わせ、クエリー、検索要求
radiation | 名 | 《物理》放射、放射線
radius | 名 | 《数学》半径
random access | 名 | 《コンピュ》ランダムアクセス
reaction | 名 | 《化学》反応
real-time | 形 | 《コンピュ》実時間の、リアルタイムの
receiver | 名 | 《通信》受信機
rectifier | 名 | 《電気》整流器
recursion | 名 | 《コンピュ》再帰
reflection | 名 | 《光学》反射 ◆光の反射
refraction | 名 | 《光学》屈折 ◆水に入れた棒が曲がって見えるのは光の屈折による
refractive index | 名 | 《光学》屈折率 ◆水の屈折率は約1.33
register | 名 | 《コンピュ》レジスター
regular expression | 名 | 《コンピュ》正規表現 ◆文字列の集合を表す記法。. は任意の1文字、* は直前の要素の0回以上の繰り返し、+ は1回以上、? は0回か1回、| はいずれか、( ) はまとめ、[ ] は文字クラス、^ は行頭、$ は行末を表す。例えば ^book は行頭の book に、(cat|dog)s? は cat, cats, dog, dogs に一致する。
relative path | 名 | 《コンピュ》相対パス
relay | 名 | 《電気》継電器、リレー
resistance | 名 | 《電気》抵抗 ◆《医学》抵抗力、耐性
resistor | 名 | 《電気》抵抗器
resolution | 名 | 《光学》分解能 ◆《コンピュ》解像度
resonance | 名 | 《物理》共振、共鳴
retrieval | 名 | 《コンピュ》検索、取り出し ◆information retrieval 情報検索
rich text | 名 | 《コンピュ》リッチテキスト ◆文字の色や書体などの書式を含むテキスト
router | 名 | 《通信》ルーター
run time | 名 | 《コンピュ》実行時、実行時間 ◆runtime とも
run-length encoding | 名 | 《コンピュ》連長符号化、ランレングス符号化
runaway reaction | 名 | 《化学》暴走反応
runoff | 名 | 《地学》流出水、表面流出 ◆雨水が地表を流れ去ること
sandbox | 名 | 《コンピュ》サンドボックス
satellite | 名 | 《天文・通信》衛星
scanner | 名 | 《コンピュ》スキャナー ◆字句解析器(lexical scanner)の意もある
search engine | 名 | 《コンピュ》検索エンジン
search key | 名 | 《コンピュ》検索キー
search path | 名 | 《コンピュ》検索パス ◆ファイルを探すディレクトリの順序
search space | 名 | 《コンピュ》探索空間
search tree | 名 | 《コンピュ》探索木 ◆binary search tree 二分探索木
search warrant | 名 | 《法律》捜索令状
sediment | 名 | 《地学》堆積物
semiconductor | 名 | 《電子》半導体
sensor | 名 | 《電子》センサー、感知器 ◆light sensor 光センサー
server | 名 | 《コンピュ》サーバー
settings file | 名 | 《コンピュ》設定ファイル ◆.ini ファイルなど
sewage | 名 | 《環境》下水、汚水
short circuit | 名 | 《電気》短絡、ショート
signal | 名 | 《通信》信号
silicon | 名 | 《化学》ケイ素、シリコン
sine | 名 | 《数学》正弦、サイン
solar cell | 名 | 《電気》太陽電池 ◆光エネルギーを電気エネルギーに変える
solenoid | 名 | 《電気》ソレノイド
solubility | 名 | 《化学》溶解度 ◆水に溶ける量
solvent | 名 | 《化学》溶媒 ◆水は最も一般的な溶媒
source code | 名 | 《コンピュ》ソースコード
spectrometer | 名 | 《光学》分光計 ◆光をスペクトルに分けて測る
spectrum | 名 | 《物理》スペクトル ◆複 spectra
speed of light | 名 | 《物理》光速 ◆真空中で秒速約30万キロメートル
spreadsheet | 名 | 《コンピュ》表計算ソフト、スプレッドシート
stack | 名 | 《コンピュ》スタック
state | 名 | 《コンピュ》状態 ◆オートマトンの状態
state machine | 名 | 《コンピュ》状態機械
statute | 名 | 《法律》制定法
steam turbine | 名 | 《機械》蒸気タービン ◆水を沸かした蒸気で回す
string | 名 | 《コンピュ》文字列
subroutine | 名 | 《コンピュ》サブルーチン
substring | 名 | 《コンピュ》部分文字列
superconductor | 名 | 《物理》超伝導体
surface tension | 名 | 《物理》表面張力 ◆水滴が丸くなるのは表面張力による
syntax | 名 | 《コンピュ・言語》構文
syntax error | 名 | 《コンピュ》構文エラー ◆正規表現の括弧の閉じ忘れなど
tab character | 名 | 《コンピュ》タブ文字<TAB>◆この行には実際にタブが1個入っている。正規表現 \t で検索できる
telescope | 名 | 《光学》望遠鏡 ◆reflecting telescope 反射望遠鏡
terminal | 名 | 《コンピュ》端末 ◆《電気》端子
text file | 名 | 《コンピュ》テキストファイル ◆行末は CR LF、LF、CR のいずれか
thermal conductivity | 名 | 《物理》熱伝導率
thermodynamics | 名 | 《物理》熱力学
thermostat | 名 | 《機械》サーモスタット、温度調節器
thread | 名 | 《コンピュ》スレッド
thrust | 名 | 《機械》推力
token | 名 | 《コンピュ》トークン、字句
torque | 名 | 《機械》トルク、回転力
tort | 名 | 《法律》不法行為
trail byte | 名 | 《コンピュ》後続バイト ◆2バイト文字の2バイト目。\ や @ と同じ値のこともある
transformer | 名 | 《電気》変圧器
transistor | 名 | 《電子》トランジスター
transparency | 名 | 《光学》透明度 ◆光を通す度合い
turbine | 名 | 《機械》タービン ◆water turbine 水車、水力タービン
ultraviolet | 形 | 《物理》紫外線の ◆目に見えない光
Unicode | 名 | 《コンピュ》ユニコード ◆世界の文字を一つの体系で扱う文字コード
vaccine | 名 | 《医学》ワクチン
vacuum | 名 | 《物理》真空
valve | 名 | 《機械》弁、バルブ
variable | 名 | 《数学・コンピュ》変数
vector | 名 | 《数学》ベクトル
velocity | 名 | 《物理》速度
viscosity | 名 | 《物理》粘性、粘度
voltage | 名 | 《電気》電圧
wastewater | 名 | 《環境》廃水、汚水 ◆wastewater treatment 廃水処理
water table | 名 | 《地学》地下水面
water-cooled | 形 | 《機械》水冷式の
watershed | 名 | 《地学》分水界、流域
wavelength | 名 | 《物理》波長 ◆可視光の波長は約380～780ナノメートル
web crawler | 名 | 《コンピュ》ウェブクローラー ◆検索エンジンのためにページを集めるプログラム
whole-word search | 名 | 《コンピュ》単語検索 ◆語の一部としての一致を除き、独立した語としてだけ一致させる検索
wildcard | 名 | 《コンピュ》ワイルドカード ◆* や ? などで任意の文字列を表す記号。KOVA5*.* のように使う
word processor | 名 | 《コンピュ》ワードプロセッサー
yield | 名 | 《化学》収率 ◆《経済》利回り ◆《機械》降伏(点)
zip file | 名 | 《コンピュ》ZIPファイル、圧縮ファイル
"""

# ---------------------------------------------------------------------------
# Formatting
# ---------------------------------------------------------------------------

MARK = "■"
POS_KINDS = {"名", "形", "副", "自動", "他動", "前", "接", "代", "間", "助"}


def parse_general(text):
    """Parses GENERAL into a list of entries (dicts)."""
    entries = []
    entry = None
    for raw in text.strip("\n").split("\n"):
        line = raw.strip()
        if not line:
            continue
        if line.startswith(MARK):
            head = line[len(MARK):].split(" ")
            entry = {"word": head[0], "flags": set(head[1:]), "items": []}
            entries.append(entry)
            continue
        kind, _, rest = line.partition(" ")
        if entry is None or not rest:
            raise ValueError("bad line in GENERAL: " + raw)
        if kind in POS_KINDS:
            entry["items"].append(("sense", kind, rest))
        elif kind == "例":
            en, ja = split_fields(rest, 2)
            entry["items"].append(("example", en, ja))
        elif kind == "派":
            word, pos, gloss = split_fields(rest, 3)
            entry["items"].append(("derived", word, pos, gloss))
        elif kind == "句":
            phrase, gloss = split_fields(rest, 2)
            entry["items"].append(("phrase", phrase, gloss))
        elif kind == "注":
            entry["items"].append(("note", rest))
        else:
            raise ValueError("unknown item kind in GENERAL: " + raw)
    return entries


def split_fields(text, count):
    fields = [f.strip() for f in text.split(" | ", count - 1)]
    if len(fields) != count or not all(fields):
        raise ValueError("expected %d fields: %s" % (count, text))
    return fields


def sort_key(line):
    # Sort by headword, letter case ignored; ties keep their order.
    head = line[len(MARK):].split("  ")[0]
    return head.lower()


def stable_sorted(lines):
    return [l for _, l in sorted(enumerate(lines), key=lambda p: (sort_key(p[1]), p[0]))]


def format_fifth(entries):
    """The 5th edition: one line per sense, example, derived word, idiom, note."""
    lines = []
    for e in entries:
        if "旧" in e["flags"]:
            continue
        word = e["word"]
        pos_total = {}
        for item in e["items"]:
            if item[0] == "sense":
                pos_total[item[1]] = pos_total.get(item[1], 0) + 1
        pos_seen = {}
        label = None
        for item in e["items"]:
            kind = item[0]
            if kind == "sense":
                pos = item[1]
                pos_seen[pos] = pos_seen.get(pos, 0) + 1
                label = pos if pos_total[pos] == 1 else "%s-%d" % (pos, pos_seen[pos])
                lines.append("%s%s  {%s} %s" % (MARK, word, label, item[2]))
            elif kind == "example":
                tag = "{%s} " % label if label else ""
                lines.append('%s%s  %s◇"%s" %s' % (MARK, word, tag, item[1], item[2]))
            elif kind == "derived":
                lines.append("%s%s  {%s} %s" % (MARK, item[1], item[2], item[3]))
            elif kind == "phrase":
                lines.append("%s%s  {句} %s" % (MARK, item[1], item[2]))
            elif kind == "note":
                lines.append("%s%s  ◆%s" % (MARK, word, item[1]))
    return stable_sorted(lines)


def format_fourth(entries):
    """The 4th edition: senses of one part of speech on one line, the first
    example of an entry, idioms under their headword."""
    lines = []
    for e in entries:
        if "新" in e["flags"]:
            continue
        word = e["word"]
        order = []
        senses = {}
        for item in e["items"]:
            if item[0] == "sense":
                if item[1] not in senses:
                    order.append(item[1])
                    senses[item[1]] = []
                senses[item[1]].append(item[2])
        for pos in order:
            lines.append("%s%s  {%s} %s" % (MARK, word, pos, "; ".join(senses[pos])))
        examples = [i for i in e["items"] if i[0] == "example"]
        if examples:
            lines.append('%s%s  用例: "%s"  %s' % (MARK, word, examples[0][1], examples[0][2]))
        for item in e["items"]:
            if item[0] == "derived":
                lines.append("%s%s  {%s} %s" % (MARK, item[1], item[2], item[3]))
            elif item[0] == "phrase":
                lines.append("%s%s  {成句} %s  %s" % (MARK, word, item[1], item[2]))
            elif item[0] == "note":
                lines.append("%s%s  《語法》%s" % (MARK, word, item[1]))
    return stable_sorted(lines)


def data_lines(text):
    return [l.strip() for l in text.strip("\n").split("\n") if l.strip()]


def format_bilingual(text):
    return stable_sorted([MARK + l for l in data_lines(text)])


def format_numbered(text, tag):
    """"head | expansion | gloss" (abbreviations) or "head | category | gloss"
    (proper nouns, with tag None: the category is the tag)."""
    rows = [split_fields_loose(l) for l in data_lines(text)]
    lines = []
    if tag is None:
        for head, category, gloss in rows:
            lines.append("%s%s  {%s} %s" % (MARK, head, category, gloss))
        return stable_sorted(lines)
    total = {}
    for head, _, _ in rows:
        total[head] = total.get(head, 0) + 1
    seen = {}
    for head, expansion, gloss in rows:
        seen[head] = seen.get(head, 0) + 1
        label = tag if total[head] == 1 else "%s-%d" % (tag, seen[head])
        body = "%s  %s" % (expansion, gloss) if expansion else gloss
        lines.append("%s%s  {%s} %s" % (MARK, head, label, body))
    return stable_sorted(lines)


def split_fields_loose(text):
    # Like split_fields with three fields, but the middle one may be empty.
    fields = [f.strip() for f in text.split("|", 2)]
    if len(fields) != 3 or not fields[0] or not fields[2]:
        raise ValueError("expected 3 fields: %s" % text)
    return fields


def format_technical(text):
    lines = []
    for head, pos, gloss in (split_fields(l, 3) for l in data_lines(text)):
        lines.append("%s%s  {%s} %s" % (MARK, head, pos, gloss.replace("<TAB>", "\t")))
    return stable_sorted(lines)


def first_letter(line):
    return line[len(MARK):][:1].lower()


def build():
    """Returns {file name: [lines]} in the order the dictionaries are numbered."""
    general = parse_general(GENERAL)
    fifth = format_fifth(general)
    return {
        "KOVA5A.TXT": [l for l in fifth if first_letter(l) <= "m"],
        "KOVA5B.TXT": [l for l in fifth if first_letter(l) > "m"],
        "KOVA-BIL.TXT": format_bilingual(BILINGUAL),
        "KOVA略語.TXT": format_numbered(ABBREVIATIONS, "略"),
        "KOVA固名.TXT": format_numbered(PROPER_NOUNS, None),
        "KOVSEN.TXT": format_technical(TECHNICAL),
        "KOVA4.TXT": format_fourth(general),
    }


def encode(name, lines):
    out = bytearray()
    for number, line in enumerate(lines, 1):
        if "\r" in line or "\n" in line:
            raise ValueError("%s(%d): line break inside a line" % (name, number))
        try:
            out += line.encode("cp932") + b"\r\n"
        except UnicodeEncodeError as e:
            raise ValueError("%s(%d): %r is not in code page 932: %s"
                             % (name, number, line[e.start:e.end], line)) from None
    return bytes(out)


def check(name, data):
    lines = data.split(b"\r\n")
    assert lines[-1] == b"", name + ": last line lacks CR LF"
    lines = lines[:-1]
    assert 300 <= len(lines) <= 600, "%s: %d lines" % (name, len(lines))
    assert max(len(l) for l in lines) > 300, name + ": no line over 300 bytes"
    assert all(l.startswith(MARK.encode("cp932")) for l in lines), name
    assert data.decode("cp932").encode("cp932") == data, name
    return len(lines), max(len(l) for l in lines)


COMMON_WORDS = ["cat", "run", "light", "book", "search", "water", "make",
                "猫", "光", "本", "検索", "水"]

DICTIONARY_OF = {"KOVA5A.TXT": 1, "KOVA5B.TXT": 1, "KOVA-BIL.TXT": 2,
                 "KOVA略語.TXT": 3, "KOVA固名.TXT": 4, "KOVSEN.TXT": 5,
                 "KOVA4.TXT": 6}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "samples")
    out_dir = os.path.normpath(out_dir)
    os.makedirs(out_dir, exist_ok=True)
    files = build()
    for name, lines in files.items():
        data = encode(name, lines)
        count, longest = check(name, data)
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)
        print("%-14s %4d lines, longest %4d bytes" % (name, count, longest))
    print("Dictionaries (1-6) holding common words:")
    for word in COMMON_WORDS:
        found = sorted({DICTIONARY_OF[n] for n, lines in files.items()
                        if any(word in l for l in lines)})
        print("  %-7s %s" % (word, " ".join(str(d) for d in found)))


if __name__ == "__main__":
    main()
