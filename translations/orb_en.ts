<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Command</name>
    <message>
        <source>打开(&amp;O)...	Ctrl+O</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开现有文档
打开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存(&amp;S)	Ctrl+S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存活动文档
保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>另存为(&amp;A)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>用新名称保存活动文档
另存为</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出文本文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出Excel表格</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印(&amp;P)...	Ctrl+P</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印活动文档
打印</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印预览(&amp;V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示整页
打印预览</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印设置(&amp;R)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>更改打印机选项和打印选项
打印设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最近的文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开此文档</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出应用程序；提示保存文档
退出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>端口选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通信测试</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>探管通信测试
通信测试</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>探管信息查询</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>时钟校准</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>探管时钟校准
时钟校准</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>实时数据输出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>输出探管实时数据
实时数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读取探管数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读取探管历史数据
读取数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工作模式设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设置探管工作模式
工作模式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>连接测试</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据读取</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清空数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>钻井参数输入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>输入钻井参数
钻井参数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>井深自动计算</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自动计算井深
井深计算</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全部选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全部不选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>反向选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示全部数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示全部数据
全部数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示选中数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示选中数据
选中数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示自动选中的数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>逆序显示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;占位符&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>状态栏(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示或隐藏状态栏
切换状态栏</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>蓝色样式(&amp;B)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>黑色样式(&amp;L)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>银色样式(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>水绿色样式(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帮助主题(&amp;H)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>列出帮助主题
帮助主题</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关于 TALO(&amp;A)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示程序信息、版本号和版权信息
关于</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据补偿</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新建</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>直接打印</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帮助</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上下文帮助</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>默认帮助</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自定义...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>复制(&amp;C)	Ctrl+C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>剪切(&amp;T)	Ctrl+X</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>粘贴(&amp;P)	Ctrl+V</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>撤消(&amp;U)	Ctrl+Z</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重做(&amp;R)	Ctrl+Y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下一窗格</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上一窗格</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Orb</name>
    <message>
        <source>没有打开该串口的权限。请把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），然后重新登录。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>模型 %1
磁偏角 D %2°   磁倾角 I %3°
总强度 F %4 nT   水平分量 H %5 nT
X %6 nT   Y %7 nT   Z %8 nT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orb 测斜数据处理系统</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是否保存更改?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>txt文件 (*.txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>所有文件 (*.*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microsoft Office Excel 工作表(*.xls)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microsoft Office Excel 工作簿(*.xlsx)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>只能选择一组数据！</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有可用的打印机。请先安装打印机，或在“打印”对话框中选择打印到文件。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>测量质量设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>井斜 (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>磁方位 (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重力工具面 (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>静止段 %1：记录 %2–%3（%4 个样本），建议测点 %5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从记录本身找出探管静止的时段，每段建议一个测点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按静止段选择测点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有找到静止段：请检查静止段的限值（测量质量设置）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>井眼轨迹</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>core</name>
    <message>
        <source>格式化失败</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>磁北</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>网格北</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>真北</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>方位参考</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>总加速度超差: %1 (参考 %2 ± %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>地磁场强度超差: %1 (参考 %2 ± %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>地磁倾角超差: %1 (参考 %2 ± %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原始计数可能饱和（按标定反推）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原始计数饱和</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>总加速度的容差必须是不小于 0 的数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>地磁场强度的容差必须是不小于 0 的数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>地磁倾角的容差必须是不小于 0 的数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>温度范围的下限不能大于上限</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>总加速度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>地磁场强度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>地磁倾角</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>温度超出合理范围: %1 (范围 %2 ~ %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>同步器标记的测点不在任何静止段内，该测点可能是探管移动中测得的</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>合格</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>超差</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>测量时探管未静止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>静止段的限值必须是不小于 0 的数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>静止段至少需要 2 个连续样本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>静止段 %1 个，建议测点 %2 个</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>静止段 %1 个，建议测点 %2 个；同步器匹配测点 %3 个：%4 个在静止段内（其中 %5 个与建议测点相同），%6 个测量时探管未静止；%7 个静止段没有匹配测点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>警告</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通信超时！</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已收到%1条探管数据，共%2条</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已收到%1条同步标记，共%2条</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>程序准备就绪</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口没有打开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>警告！</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>探管数据尚未保存，重新设置将清空探管中的数据。是否继续？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请确认</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重新设置延时时间将会清空探管中的存储数据，是否继续？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>将会清空同步器中所有数据，是否继续?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清空中，稍候....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标定参数读取不完整</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通信超时！标定参数读取不完整，仍使用原有的标定参数。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据流中断</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口连接已断开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口%1已打开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未找到有效串口</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口已切换为%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口打开失败</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据读取不完整</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通信正常</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读取中，稍候....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据读取完成</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1分</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1秒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设备连接正常</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任务完成</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据已清空，任务完成!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读标定参数....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>探管中没有存储数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有收到探管数据的数量回复，收到的探管数据已丢弃，请重新读取。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1个同步标记中%2个已匹配</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1个同步标记中只有%2个匹配到探管数据。可能是探管和同步器的时钟没有校准（时钟校准），请检查两台设备的时钟。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>同步器中没有存储数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设备回复信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有收到同步标记的数量回复，收到的同步标记已丢弃，请重新读取。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>探管</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>同步器</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件不是接收日志或已损坏，无法恢复</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>接收日志在第%1帧处损坏，只恢复了此前的%2帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>接收日志无法写入，数据仅保存在内存中</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>操作员输入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>模型</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>测量背景信息之后还有多余的字节，已忽略</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件不完整（数据在中途结束），无法打开。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件已损坏：文本长度超出了文件的剩余长度。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件已损坏：记录数量超过了 39768215 条的上限。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件已损坏：记录数量超出了文件的剩余长度。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件已损坏：时间标记数量超出了文件的剩余长度。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读取文件时出错，无法打开。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件不存在，无法打开。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有权限读取该文件。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>记录数量超过了 39768215 条，无法保存为 TLM 文件。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>磁盘空间不足，文件没有保存。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有权限在该位置写入文件，文件没有保存。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>该位置是只读的，文件没有保存。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>写入文件时出错，文件没有保存。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件太大，无法保存。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据格式不匹配，请重新选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开文档失败。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件名不正确。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件末尾的多余字节已忽略</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入一个数字。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入一个-360.0到360.0之间的数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>错误</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>纬度须在 -90° 到 90° 之间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>经度须在 -180° 到 360° 之间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>位置离中央子午线超过 30°，不属于这个投影带</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>警示区：水平分量 H ≤ 6000 nT，磁方位不可靠</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>盲区：水平分量 H ≤ 2000 nT，磁方位不可信</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>找不到地磁模型文件（geomag 文件夹）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>网格北需要井位（纬度、经度）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>写入的工作簿不完整（磁盘或临时文件夹可能已满），文件没有导出。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>要导出的测点有%1个，超出Excel %2-%3工作表可容纳的%4个测点（另有标题行），未导出。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>要导出的测点有%1个，超出工作表可容纳的%2个测点（另有标题行），未导出。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出表格成功</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>启动Excel服务器失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>命令失败。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不是可读的Excel工作簿，没有导出：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>序号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>相对时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>测深</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>井斜</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>磁方位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重力工具面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>磁性工具面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>总磁场</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>探管温度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>电池电压</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标准时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>真方位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>磁偏角</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>温度</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CAboutDlg</name>
    <message>
        <source>关于TALO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TALO，B4.3 版</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CComSetDlg</name>
    <message>
        <source>通信端口设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>编号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设备</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>说明</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请选择通信端口</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入一个整数。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CDataModifyDlg</name>
    <message>
        <source>数据修改</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>井斜补偿</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>方位补偿</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GTF补偿</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MTF补偿</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GT补偿</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MT补偿</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DIP补偿</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入数据补偿量，生成数据 = 原数据 + 补偿量</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CDelaySetDlg</name>
    <message>
        <source>延时设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请设置采样延时时间和采样间隔</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>延时时间：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>分</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>采样间隔：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>秒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>写入探管</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入一个介于%1和%2之间的整数。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CDepthCalcDlg</name>
    <message>
        <source>自动生成井深</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>初始井深</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>段 长</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CEditCommands</name>
    <message>
        <source>撤销(&amp;U)	Ctrl+Z</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重做(&amp;R)	Ctrl+Y</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CGeoRefController</name>
    <message>
        <source>井位与地磁参考</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>由井位和日期计算地磁场、正常重力和子午线收敛角</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>轨迹的方位参考</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CGeoRefDlg</name>
    <message>
        <source>井位与地磁参考</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>39.9075 或 39°54&apos;27&quot;N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>116.3972 或 116°23&apos;50&quot;E</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UTM（按位置定带）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>高斯-克吕格 3°带</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>高斯-克吕格 6°带</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>横轴墨卡托，中央子午线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>中央子午线 °</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>同时用正常重力作总加速度参考</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>用作磁偏角</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>用作质量参考</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>纬度:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>经度:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>海拔高度 (m):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>测量日期:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>网格北投影:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入纬度和经度（十进制度或度分秒）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>高度不是数字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有模型值: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
正常重力 %1 m/s² (%2 g)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
%1  子午线收敛角 %2°  比例 %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
网格: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>中央子午线不是数字</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CHelpWindow</name>
    <message>
        <source>Orb 帮助主题</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CInforDlg</name>
    <message>
        <source>探管信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>探管编号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>探管类型</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>探管容量</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>采样延时时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>采样间隔时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>存储数据数量</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>电池电压</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>剩余电量</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CMainFrame</name>
    <message>
        <source>菜单栏</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通信</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>探管</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>同步器</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>视图(&amp;V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工具栏和停靠窗口(&amp;T)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应用程序外观(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标准</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>就绪</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>程序准备就绪      </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>进度条</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV 测斜数据表...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LAS 3.0 测斜文件...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LAS 文件 (*.las)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WITSML 1.4.1.1 轨迹...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WITSML 文件 (*.xml)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正在导出……</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已从文件恢复磁偏角 %1°（%2）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>另存为</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正在导出文本文件……</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正在导出Excel表格……</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TLM文件 (*.TLM)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>所有文件 (*.*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不保存(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无标题</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最近的文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>语言 (Language)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>警告</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印失败。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印预览</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::COrbApp</name>
    <message>
        <source>Orb 测斜数据处理系统</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>启动时打开的 TLM 文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>把主窗口保存为 PNG 图片后退出</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::COrbView</name>
    <message>
        <source>编辑</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CPrintSetDlg</name>
    <message>
        <source>多点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>单点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印方式设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印方式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CQualityController</name>
    <message>
        <source>测量质量设置...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>本井的当地重力、总磁场、磁倾角及容差，狗腿度单位和视平移方位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印报告时附轨迹页</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印、预览和PDF报告的最后一页为井眼轨迹图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示或隐藏井眼轨迹面板</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>超差测点 %1/%2，超差记录 %3/%4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>方位参考无法使用: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>（按真北显示）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CQualitySetDlg</name>
    <message>
        <source>留空：闭合方位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>°/30m（井深单位 m）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>°/100ft（井深单位 ft）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当地参考值（留空则不检查该项）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>井号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当地重力 (g)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重力容差 ± (g)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当地总磁场 (nT)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>总磁场容差 ± (nT)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当地磁倾角 (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>磁倾角容差 ± (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>井眼轨迹</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>狗腿度单位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>视平移方位 (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每个重力分量的波动 (mg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每个磁分量的波动 (nT)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>井斜变化 (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>方位变化 (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>井斜大于此值才检查方位 (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最少连续样本数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>静止段（按静止段选择测点，测量时探管未静止）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>（未输入）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CRealDisDlg</name>
    <message>
        <source>实时数据显示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>井  斜</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>方  位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>高边工具面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>磁性工具面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>总加速度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>总磁场</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>地磁倾角</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>温  度</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CRtcProbeDlg</name>
    <message>
        <source>设备时钟校准</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当前时间:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设备时间:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读探管时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>校准探管时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读同步器时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>校准同步器时间</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CStillSelectDlg</name>
    <message>
        <source>选择建议的测点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定后，只有建议的记录被选为测点。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CStillStripWidget</name>
    <message>
        <source>记录 0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>绿色：静止段  红点：建议测点  橙色：同步器匹配测点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>记录 %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CToolbarCustomizeDlg</name>
    <message>
        <source>———— 分隔符 ————</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自定义</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加(&amp;A) &gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt; 删除(&amp;R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>分隔符(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上移(&amp;U)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下移(&amp;D)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重置(&amp;E)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>可用的命令(&amp;V):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工具栏按钮(&amp;T):</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CTrajectoryPanel</name>
    <message>
        <source>保存为PNG...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存井眼轨迹图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG 图片 (*.png)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>所有文件 (*.*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>井眼轨迹.png</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存图片失败：</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CTxtSetDlg</name>
    <message>
        <source>空格</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>逗号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出标题，并放在文件第一行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TXT格式设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上移</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下移</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据间分隔符</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::CWellInputDlg</name>
    <message>
        <source>钻井信息输入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>井队信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>井队编号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>井 号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>磁偏角</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>orb::RecoveryJournal</name>
    <message>
        <source>恢复</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>丢弃</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上次接收的数据尚未保存：
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是否恢复？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已恢复未保存的数据：%1条探管数据，%2条同步器数据</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
